#pragma once

#include "core/shell_port.h"

namespace tavoe {

// What editing and the command dispatchers need of the edit view: the data window's size, the row
// table brought up to date, and vertical scrolling. The view (src/view) implements it and the shell
// installs that implementation in every instance (app.editView); EditView(app) gives it.
//
// The base class stands for a view that is not there (a tool, or a test of editing alone): the
// window is as large as the session last recorded (view.dataRows by view.dataColumns, else the rows
// of its row table by 80 columns), and the rows neither change nor scroll. A test that needs them to
// installs the real view (InstallEditView).

struct AppSession;
struct EditSession;

class EditViewPort {
public:
    virtual ~EditViewPort() = default;
    virtual DataWindowSize WindowSize(AppSession& app, EditSession& session);
    // Fills view.rowTable for the window's rows from view.topLine on. Base: nothing.
    virtual void RebuildRows(AppSession& app, EditSession& session);
    // Scrolls by delta rows (negative: up) as far as the file allows, and rebuilds the rows. Base:
    // nothing.
    virtual void ScrollRows(AppSession& app, EditSession& session, int delta);
};

// The instance's edit view: the one installed, or a base view made on first use.
EditViewPort& EditView(AppSession& app);

}  // namespace tavoe
