#include <gtest/gtest.h>

#include "buffer/record_buffer.h"
#include "core/app_session.h"

using namespace tavoe;

namespace {

RecordBuffer* HeaderOf(char* payload) {
    return reinterpret_cast<RecordBuffer*>(payload) - 1;
}

class RecordBufferTest : public ::testing::Test {
protected:
    ~RecordBufferTest() override { RecBufReleaseAll(buffers); }
    AppSession app;
    DList buffers;
};

}  // namespace

TEST_F(RecordBufferTest, FreeBuffersAreReused) {
    char* first = RecBufGet(buffers, 80);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(HeaderOf(first)->capacity, 88u);
    EXPECT_EQ(HeaderOf(first)->guard, 0xFFFFFFFFu);
    EXPECT_EQ(HeaderOf(first)->inUse, 1u);
    char* second = RecBufGet(buffers, 80);  // the first is in use
    EXPECT_NE(second, first);
    EXPECT_EQ(DListCount(&buffers), 2u);
    ASSERT_EQ(RecBufRelease(app, first), 0);
    EXPECT_EQ(HeaderOf(first)->inUse, 0u);
    EXPECT_EQ(RecBufGet(buffers, 80), first);
    EXPECT_EQ(DListCount(&buffers), 2u);
    // A smaller record length is served by the larger buffer.
    ASSERT_EQ(RecBufRelease(app, second), 0);
    EXPECT_EQ(RecBufGet(buffers, 10), second);
    EXPECT_TRUE(app.messages.empty());
}

TEST_F(RecordBufferTest, RaisedRecordLengthReplacesFirstFreeBuffer) {
    char* a = RecBufGet(buffers, 80);
    char* b = RecBufGet(buffers, 80);
    char* c = RecBufGet(buffers, 80);
    (void)RecBufRelease(app, b);
    (void)RecBufRelease(app, c);
    char* larger = RecBufGet(buffers, 4096);
    ASSERT_NE(larger, nullptr);
    EXPECT_EQ(HeaderOf(larger)->capacity, 4104u);
    EXPECT_EQ(DListCount(&buffers), 3u);
    // It took b's place in the list; c is still there, free.
    EXPECT_EQ(buffers.first, HeaderOf(a));
    EXPECT_EQ(buffers.first->next, HeaderOf(larger));
    EXPECT_EQ(buffers.last, HeaderOf(c));
    EXPECT_EQ(HeaderOf(c)->inUse, 0u);
    larger[4103] = 'x';  // the whole capacity is usable
}

TEST_F(RecordBufferTest, CorruptedGuardIsReported) {
    char* payload = RecBufGet(buffers, 80);
    HeaderOf(payload)->guard = 0x12345678u;
    EXPECT_EQ(RecBufRelease(app, payload), -1);
    ASSERT_EQ(app.messages.size(), 1u);
    EXPECT_EQ(app.messages[0].text, "Tried to free corrupted record buffer, can't continue");
    EXPECT_EQ(HeaderOf(payload)->inUse, 1u);
    HeaderOf(payload)->guard = kRecordBufferGuard;
    EXPECT_EQ(RecBufRelease(app, nullptr), 0);
}
