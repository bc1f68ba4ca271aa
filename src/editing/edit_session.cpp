#include "editing/edit_session.h"

#include "core/app_session.h"

namespace tavoe {

void EditSessionDeleter::operator()(EditSession* session) const {
    delete session;
}

EditSession* CurrentEditSession(AppSession& app) {
    return app.editSessions.empty() ? nullptr : app.editSessions.front().get();
}

}  // namespace tavoe
