#include "editing/edit_view_port.h"

#include <algorithm>

#include "core/app_session.h"
#include "editing/edit_session.h"

namespace tavoe {

namespace {

constexpr int kFallbackColumns = 80;

}  // namespace

void EditViewPortDeleter::operator()(EditViewPort* port) const {
    delete port;
}

DataWindowSize EditViewPort::WindowSize(AppSession&, EditSession& session) {
    const EditViewState& view = session.view;
    if (view.dataRows > 0 && view.dataColumns > 0) {
        return {view.dataRows, view.dataColumns};
    }
    return {std::max(static_cast<int>(view.rowTable.size()), 1), kFallbackColumns};
}

void EditViewPort::RebuildRows(AppSession&, EditSession&) {}

void EditViewPort::ScrollRows(AppSession&, EditSession&, int) {}

EditViewPort& EditView(AppSession& app) {
    if (!app.editView) {
        app.editView.reset(new EditViewPort());
    }
    return *app.editView;
}

}  // namespace tavoe
