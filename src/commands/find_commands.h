#pragma once

#include <string_view>

namespace tavoe {

// The search commands of an edit session: FIND, CHANGE and EXCLUDE, their repeats RFIND and
// RCHANGE, and FLIP. Each takes the parameter text as typed after the verb.

struct AppSession;
struct EditSession;

void FindCommand(AppSession& app, EditSession& session, std::string_view params);
void RFindCommand(AppSession& app, EditSession& session, std::string_view params);
void ChangeCommand(AppSession& app, EditSession& session, std::string_view params);
void RChangeCommand(AppSession& app, EditSession& session, std::string_view params);
void ExcludeCommand(AppSession& app, EditSession& session, std::string_view params);
void FlipCommand(AppSession& app, EditSession& session, std::string_view params);

}  // namespace tavoe
