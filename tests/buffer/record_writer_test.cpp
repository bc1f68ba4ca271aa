#include "buffer/record_writer.h"

#include <atomic>
#include <string>
#include <vector>

#include "file_save_test_util.h"
#include "platform/file_write.h"

namespace {

using RecordWriterTest = SaveFixture;

// Many small buffers' worth of records of every length: the writes overlap the filling, yet the file
// holds the records in order, whole, whether they were reserved or appended.
TEST_F(RecordWriterTest, ManyBuffersComeOutInOrder) {
    FileHandle out;
    ASSERT_TRUE(CreateAlways(Path("out"), OpenAccess::Write, out).Ok());
    std::vector<char> first(256);
    std::string expected;
    {
        RecordWriter writer(out, first.data(), static_cast<std::int32_t>(first.size()));
        ASSERT_TRUE(writer.Ok());
        for (int i = 0; i < 5000; ++i) {
            std::string record = std::to_string(i) + std::string(static_cast<size_t>(i % 29), 'a' + i % 26);
            record += '\n';
            expected += record;
            if (i % 2 == 0) {
                char* at = writer.Reserve(static_cast<std::int32_t>(record.size()));
                ASSERT_NE(at, nullptr);
                record.copy(at, record.size());
            } else {
                ASSERT_TRUE(writer.Append(record.data(), static_cast<std::int32_t>(record.size())));
            }
        }
        ASSERT_TRUE(writer.Finish());
    }
    out.Close();
    EXPECT_EQ(ReadBytes(Path("out")), expected);
}

// The third write fails: what was handed over before it is in the file in order, nothing after it is
// written, and the failure is reported by the next call and by Finish.
TEST_F(RecordWriterTest, AFailedWriteStopsEverythingAfterIt) {
    std::atomic<int> writes{0};
    ScopedFileWriteHook hook([&writes](FileWriteOp op, std::size_t) {
        FileWriteFault fault;
        if (op == FileWriteOp::Write && ++writes == 3) {
            fault.kind = FileWriteFault::Kind::Fail;
            fault.error = ENOSPC;
        }
        return fault;
    });
    FileHandle out;
    ASSERT_TRUE(CreateAlways(Path("out"), OpenAccess::Write, out).Ok());
    std::vector<char> first(10);
    RecordWriter writer(out, first.data(), 10);
    bool stopped = false;
    for (char c = 'a'; c <= 'z' && !stopped; ++c) {
        stopped = !writer.Append(std::string(10, c).data(), 10);
    }
    EXPECT_TRUE(stopped);
    EXPECT_FALSE(writer.Finish());
    EXPECT_EQ(writer.Reserve(1), nullptr);
    out.Close();
    EXPECT_EQ(ReadBytes(Path("out")), std::string(10, 'a') + std::string(10, 'b'));
}

}  // namespace
