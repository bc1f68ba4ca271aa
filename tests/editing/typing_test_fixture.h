#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "buffer/edit_buffer.h"
#include "core/app_session.h"
#include "core/var_store.h"
#include "editing/cursor.h"
#include "editing/edit_session.h"
#include "editing/keys.h"
#include "view/view_commands.h"

using namespace tavoe;

// An edit session of a few lines in a data window of 10 rows and 80 columns with a 7-cell prefix
// area, without a window system: messages are recorded in app.messages.
class TypingFixture : public ::testing::Test {
protected:
    void SetUp() override {
        InstallEditView(app);
        app.hasCurrentEditSession = true;
        app.profileSettings.undoEnabled = false;
        session.buffer.profile = BuiltInFileProfile("TEST");
        session.buffer.profile.maxRecordLength = 80;
        session.buffer.profile.boundsRight = 80;
        session.buffer.file.atEnd = true;
        session.buffer.file.loadComplete = true;
        session.view.prefixWidth = 7;
        session.view.dataRows = 10;
        session.view.dataColumns = 80;
        session.view.focus = KeyField::Data;
        SetTypingMode(app, ui::TypingMode::Insert);
    }

    // The lines of the file, between the top and the end marker; the view starts at the top.
    void Lines(const std::vector<std::string>& texts) {
        for (const std::string& text : texts) {
            LineRecord* line = LineNew(session.buffer, text);
            line->kind = LineKind::Data;
            LineAppendLoaded(session.buffer, line);
            lines.push_back(line);
        }
        (void)AppendEndMarker(session.buffer, LoadEnd::Complete);
        session.view.topLine = LineFirst(session.buffer);
        RefreshRowTable(app, session);
    }

    // The cursor on data line n (from 0, shown on row n + 1 below the top marker) at a record column.
    void At(int n, int column) {
        session.view.cursorRow = n + 1;
        session.view.cursorColumn = session.view.prefixWidth + column - 1 - session.view.horizontalOffset;
        session.view.focus = KeyField::Data;
    }
    void AtPrefix(int n, int offset) {
        session.view.cursorRow = n + 1;
        session.view.cursorColumn = offset;
        session.view.focus = KeyField::Prefix;
    }

    std::string Text(int n) const { return std::string(LineText(*lines[static_cast<size_t>(n)])); }
    int Column() const {
        return session.view.horizontalOffset + session.view.cursorColumn - session.view.prefixWidth + 1;
    }
    std::string LastMessage() const {
        return app.messages.empty() ? std::string() : app.messages.back().text;
    }

    void Cobol(NumberAuto automatic = NumberAuto::None) { Numbered(NumberType::Cobol, automatic, 1, 6); }
    void Standard(NumberAuto automatic = NumberAuto::None) {
        Numbered(NumberType::Standard, automatic, 73, 80);
    }
    void Numbered(NumberType type, NumberAuto automatic, int first, int last) {
        FileProfile& profile = session.buffer.profile;
        profile.numberType = type;
        profile.numberAuto = automatic;
        profile.numberColumnStart = first;
        profile.numberColumnEnd = last;
        profile.numberStart = 100;
        profile.numberIncrement = 100;
    }

    // A line of 72 columns of text (padded with blanks) followed by a number.
    static std::string StandardLine(std::string_view text, std::string_view number = "00000100") {
        std::string line(text);
        line.resize(72, ' ');
        return line + std::string(number);
    }

    AppSession app;
    EditSession session{app};
    std::vector<LineRecord*> lines;
};
