#pragma once

#include <string_view>

#include "core/status.h"

namespace tavoe {

// EXPORT, CREATE and REPLACE: the data lines from the first to the last selected line (or, for CREATE
// and REPLACE without a selection, of a waiting CC or MM block) written to a file as they are shown:
// no translation, padded to the record length when the profile pads short records, each followed by
// the file's line end in a variable-format file and by nothing in a fixed-format one. The file is
// written as a temporary file beside the target and renamed over it once complete, so the target is
// never left half written. Without a name the file chooser asks for one.

struct AppSession;
struct EditSession;

// What happens to a file that exists: EXPORT asks, CREATE refuses, REPLACE replaces it.
enum class ExportMode { Export, Create, Replace };

// 0 when the file was written ("File created" or "File replaced"), -1 after a message or when the
// user cancelled.
Status ExportCommand(AppSession& app, EditSession& session, ExportMode mode, std::string_view fileName);

void ExportEditCommand(AppSession& app, EditSession& session, std::string_view params);
void CreateEditCommand(AppSession& app, EditSession& session, std::string_view params);
void ReplaceEditCommand(AppSession& app, EditSession& session, std::string_view params);

}  // namespace tavoe
