#pragma once

#include <string>
#include <string_view>

namespace tavoe {

// The file list's own primary commands (all but FIND, CHANGE and SEARCH, in file_list_search.h).
// Each acts on the file list shown now and does nothing without one.

struct AppSession;

void AllLowerCommand(AppSession& app, std::string_view params);
void AllUpperCommand(AppSession& app, std::string_view params);
void BottomCommand(AppSession& app, std::string_view params);
void TopCommand(AppSession& app, std::string_view params);
void UpCommand(AppSession& app, std::string_view params);
void DownCommand(AppSession& app, std::string_view params);
void LeftCommand(AppSession& app, std::string_view params);
void RightCommand(AppSession& app, std::string_view params);
void ConfirmCommand(AppSession& app, std::string_view params);
void IMacroCommand(AppSession& app, std::string_view params);
void XMacroCommand(AppSession& app, std::string_view params);
void ListToFileCommand(AppSession& app, std::string_view params);
void LocateCommand(AppSession& app, std::string_view params);
void MakeDirCommand(AppSession& app, std::string_view params);
void MaxRecLenCommand(AppSession& app, std::string_view params);
void ParentCommand(AppSession& app, std::string_view params);
void PrintListCommand(AppSession& app, std::string_view params);
void ProfileCommand(AppSession& app, std::string_view params);
void RefreshCommand(AppSession& app, std::string_view params);
void ResetCommand(AppSession& app, std::string_view params);
void SelectCommand(AppSession& app, std::string_view params);
void SortCommand(AppSession& app, std::string_view params);

// The new name of a case rename: all lower case, all upper case, or an initial capital followed by
// lower case (ASCII letters only; other bytes stay).
enum class CaseRename { Lower, Upper, Initial };
std::string RenamedCase(std::string_view name, CaseRename how);

}  // namespace tavoe
