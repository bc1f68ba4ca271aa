#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavoe {

// FIND, CHANGE and SEARCH over every file of the list shown: each file row is searched in turn;
// rows without a hit leave the list, rows with hits show their count in the Action column.

struct AppSession;

void FileListFind(AppSession& app, std::string_view params);
void FileListChange(AppSession& app, std::string_view params);
void FileListSearch(AppSession& app, std::string_view params);

// The texts a run applies: the parameters as one text, or with "USE_ZMULT_VARS" the non-empty
// ZMULT.TEXT.1 .. .4.
std::vector<std::string> SearchTexts(AppSession& app, std::string_view params);

// The message when no file had a hit: "String 'abc' not found in any files in this list." (texts
// already in quotes keep them; several texts: "Strings 'a', 'b' ...").
std::string NotFoundMessage(const std::vector<std::string>& texts);

}  // namespace tavoe
