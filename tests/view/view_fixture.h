#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "buffer/edit_buffer.h"
#include "buffer/excluded_lines.h"
#include "buffer/line_record.h"
#include "core/app_session.h"
#include "core/var_store.h"
#include "editing/edit_session.h"
#include "ui/canvas.h"
#include "view/view_rows.h"

using namespace tavoe;

// An instance with one edit session whose lines the test makes, and a canvas to paint into.
class ViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        session = std::make_unique<EditSession>(app);
        session->buffer.fileName = "/tmp/view_test.txt";
        session->buffer.profile.maxRecordLength = 80;
        session->buffer.file.loadComplete = true;
        session->view.topLine = LineFirst(session->buffer);
        session->view.prefixWidth = 6;
    }
    void TearDown() override { session.reset(); }

    EditBuffer& Buffer() { return session->buffer; }

    LineRecord* AddLine(std::string_view text, LineKind kind = LineKind::Data) {
        LineRecord* line = LineNew(Buffer(), text);
        line->kind = kind;
        if (kind == LineKind::Data) {
            line->recordNumber = ++records_;
        }
        LineAppendLoaded(Buffer(), line);
        Buffer().file.recordCount = records_;
        return line;
    }
    // n data lines "line 1" .. "line n", then the end marker.
    void AddNumberedLines(int n) {
        for (int i = 1; i <= n; ++i) {
            AddLine("line " + std::to_string(i));
        }
        (void)AppendEndMarker(Buffer(), LoadEnd::Complete);
    }
    void Finish() { (void)AppendEndMarker(Buffer(), LoadEnd::Complete); }

    // Hides the data lines first..last (record numbers) behind one marker.
    void Exclude(uint32_t first, uint32_t last) {
        for (LineRecord& line : Lines(Buffer())) {
            if (IsDataLine(line) && line.recordNumber >= first && line.recordNumber <= last) {
                LineClearFlag(line, LineFlagB::Visible);
            }
        }
        RebuildExcludedMarkers(Buffer(), 40);
    }

    LineRecord* Record(uint32_t number) {
        for (LineRecord& line : Lines(Buffer())) {
            if (IsDataLine(line) && line.recordNumber == number) {
                return &line;
            }
        }
        return nullptr;
    }

    // What the rows of the table show: the record number of data lines, "top", "end", "x<count>" for
    // an excluded-lines marker, "-" for an empty row.
    std::vector<std::string> Rows() const {
        std::vector<std::string> out;
        for (const LineRecord* line : session->view.rowTable) {
            if (line == nullptr) {
                out.push_back("-");
            } else if (line->kind == LineKind::TopMarker) {
                out.push_back("top");
            } else if (line->kind == LineKind::EndMarker) {
                out.push_back("end");
            } else if (line->kind == LineKind::ExcludedMarker) {
                out.push_back("x" + std::to_string(line->hiddenCount));
            } else {
                out.push_back(std::to_string(line->recordNumber));
            }
        }
        return out;
    }
    std::string TopName() {
        RebuildRowTable(*session, 1);
        return Rows().front();
    }

    // The characters of one canvas row, cells from..from+count.
    static std::string RowText(const ui::Canvas& canvas, int row, int from = 0, int count = -1) {
        std::string out;
        int end = count < 0 ? canvas.Cols() : from + count;
        for (int col = from; col < end; ++col) {
            out += static_cast<char>(canvas.At(row, col).ch);
        }
        return out;
    }

    AppSession app;
    std::unique_ptr<EditSession> session;

private:
    uint32_t records_ = 0;
};

// A scratch directory removed at the end of the test.
class ViewScratch {
public:
    ViewScratch() {
        const char* base = std::getenv("TAVOE_TEST_TMP");
        std::filesystem::path parent = base != nullptr && *base != '\0'
                                           ? std::filesystem::path(base)
                                           : std::filesystem::temp_directory_path();
        path_ = parent / ("view_" + std::to_string(::getpid()) + "_" +
                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ViewScratch() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string Write(const std::string& name, const std::string& bytes) const {
        std::string path = (path_ / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

private:
    std::filesystem::path path_;
};
