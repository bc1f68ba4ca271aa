#pragma once

#include <string_view>

namespace tavoe {

struct AppSession;
struct EditSession;

// MATCH: from the bracket under the cursor ( ) [ ] { } < > to its partner, forwards from an opening
// one and backwards from a closing one, over data lines, counting nested pairs of the same kind. The
// cursor goes to the partner, the view following it.
void MatchCommand(AppSession& app, EditSession& session, std::string_view params);

}  // namespace tavoe
