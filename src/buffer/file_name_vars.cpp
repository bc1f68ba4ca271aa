#include "buffer/file_name_vars.h"

#include <string>

#include "buffer/edit_buffer.h"
#include "core/storage_host.h"

namespace tavoe {

void SetFileNameVariables(StorageHost& host, std::string_view path) {
    host.SetSetting("ZDSN", path);
    std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos) {
        return;
    }
    std::string_view name = path.substr(slash + 1);
    bool keepSlash = slash == 0 || path[slash - 1] == ':';
    std::string_view directory = path.substr(0, keepSlash ? slash + 1 : slash);
    std::size_t dot = name.rfind('.');
    std::string_view extension = dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
    std::string_view base = name.substr(0, dot);
    host.SetSetting("ZDSNNAME", name);
    host.SetSetting("ZDSNPATH", directory);
    host.SetSetting("ZDSNEXT", extension);
    host.SetSetting("ZDSNBASE", base);
    host.SetSetting("ZDSNTYPE", extension.empty() ? std::string("*") : "*." + std::string(extension));
}

void SetBufferFileName(EditBuffer& buffer, std::string_view path) {
    buffer.fileName.assign(path);
    std::size_t slash = path.rfind('/');
    std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    buffer.directory.assign(path.substr(0, nameStart));
    buffer.displayName.assign(path.substr(nameStart));
}

}  // namespace tavoe
