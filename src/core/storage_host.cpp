#include "core/storage_host.h"

#include "core/app_session.h"

namespace tavoe {

void StorageHost::Report(std::string_view text, MsgTo to, Beep beep) {
    app_.Report(text, to, beep);
}

std::string StorageHost::Setting(std::string_view name) {
    return VarGetValue(app_, name);
}

bool StorageHost::SettingIsTrue(std::string_view name) {
    return VarIsTrue(app_, name);
}

void StorageHost::SetSetting(std::string_view name, std::string_view value) {
    VarSetValue(app_, name, value);
}

CharsetState& StorageHost::Charset() {
    return app_.charset;
}

void StorageHost::ShowLoadStatus(std::string_view text) {
    app_.statusText = std::string(text);
}

bool StorageHost::EscapePressed() {
    return false;
}

void StorageHost::RunExitMacro(EditBuffer&, const std::string&) {}

void StorageHost::RecordLengthRaised(EditBuffer&, const FileProfile&) {}

bool StorageHost::ConfirmSave(std::string_view) {
    return false;
}

}  // namespace tavoe
