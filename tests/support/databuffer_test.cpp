#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "host/xrgame.h"
#include "support/databuffer.h"
#include "support/thread.h"
#include "tests/harness/scratch.h"
#include "tests/harness/test_roots.h"
#include "tests/support/support_test_util.h"

namespace {

std::string bytes_of(const XrDataBuffer* b) {
    return std::string(reinterpret_cast<const char*>(b->m_bytes), size_t(b->m_size));
}

// Files in a directory of the test's own; loads go through a plain host,
// whose paths are file paths.
class DataBuffers : public ::testing::Test {
protected:
    XrGame host;
    ScratchFolder folder{"databuffer"};
    const std::string dir = folder.path().string();

    void SetUp() override { std::fill(std::begin(test_roots), std::end(test_roots), nullptr); }

    std::string Write(const std::string& name, const std::string& content) {
        std::string path = dir + "/" + name;
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
};

struct FileCase {
    const char* name;
    std::string content;
};

std::string pattern(int size) {
    std::string s(size_t(size), '\0');
    for (int i = 0; i < size; ++i) s[size_t(i)] = char(i * 7 + i / 256);
    return s;
}

TEST_F(DataBuffers, LoadReadsTheWholeFile) {
    const FileCase cases[] = {
        {"empty.bin", ""},
        {"nul and high bytes", std::string("a\0b\xff\x80z", 6)},
        {"several-blocks.dat", pattern(4096 * 3 + 17)},
    };
    for (const FileCase& c : cases) {
        XrDataBuffer* b = new XrDataBuffer();
        ASSERT_TRUE(b->_Load(String(Write(c.name, c.content).c_str()))) << c.name;
        EXPECT_NE(b->m_bytes, nullptr) << c.name;
        EXPECT_EQ(b->m_size, int(c.content.size())) << c.name;
        EXPECT_EQ(bytes_of(b), c.content) << c.name;
    }
}

TEST_F(DataBuffers, FailedOrRepeatedLoadLeavesTheBufferAsItWas) {
    XrDataBuffer* empty = new XrDataBuffer();
    EXPECT_FALSE(empty->_Load(String((dir + "/missing.bin").c_str())));
    EXPECT_EQ(empty->m_bytes, nullptr);
    EXPECT_EQ(empty->m_size, 0);

    XrDataBuffer* full = new XrDataBuffer();
    ASSERT_TRUE(full->_Load(String(Write("first", "first").c_str())));
    EXPECT_FALSE(full->_Load(String(Write("second", "second!").c_str())));
    EXPECT_FALSE(full->_New(4));
    EXPECT_EQ(bytes_of(full), "first");

    // Once discarded it takes new contents.
    full->Discard();
    EXPECT_EQ(full->m_bytes, nullptr);
    EXPECT_EQ(full->m_size, 0);
    ASSERT_TRUE(full->_Load(String((dir + "/second").c_str())));
    EXPECT_EQ(bytes_of(full), "second!");
}

TEST_F(DataBuffers, NewAllocatesZeroedBytesOrAdoptsMemory) {
    struct Case {
        int size;
        bool adopt;
        bool ok;
    };
    const Case cases[] = {{0, false, true}, {1, false, true}, {65536, false, true},
                          {-1, false, false}, {8, true, true}};
    for (const Case& c : cases) {
        XrDataBuffer* b = new XrDataBuffer();
        void* memory = nullptr;
        if (c.adopt) {
            memory = std::malloc(size_t(c.size));
            std::memset(memory, 0x5a, size_t(c.size));
        }
        ASSERT_EQ(b->_New(c.size, memory), c.ok) << c.size;
        if (!c.ok) {
            EXPECT_EQ(b->m_bytes, nullptr);
            continue;
        }
        EXPECT_EQ(b->m_size, c.size);
        if (c.adopt) {
            EXPECT_EQ(b->m_bytes, memory);
            EXPECT_EQ(bytes_of(b), std::string(size_t(c.size), '\x5a'));
        } else {
            EXPECT_EQ(bytes_of(b), std::string(size_t(c.size), '\0')) << c.size;
        }
    }
}

class LoaderThread : public XrThread {
public:
    XrDataBuffer* m_buffer = nullptr;
    String m_path;
    bool m_loaded = false;
    void Run__UNSAFE__() override { m_loaded = m_buffer->_LoadAsync(m_path, this); }
    void mark() override {
        XrThread::mark();
        gc_mark_field(m_buffer);
    }
};

TEST_F(DataBuffers, LoadAsyncHandsTheBufferToItsThread) {
    const std::string content = pattern(10000);
    struct Case {
        std::string path;
        bool found;
    };
    const Case cases[] = {{Write("async.bin", content), true}, {dir + "/absent.bin", false}};
    for (const Case& c : cases) {
        LoaderThread* t = new LoaderThread();
        gc_assign(test_roots[0], t);
        gc_assign(t->m_buffer, new XrDataBuffer());
        t->m_path = XrThread::Strdup(String(c.path.c_str()));
        t->Start();
        ASSERT_TRUE(WaitFor([t] { return !t->IsRunning(); })) << c.path;
        EXPECT_EQ(t->m_loaded, c.found) << c.path;
        if (c.found) {
            EXPECT_EQ(t->Result(), t->m_buffer);
            EXPECT_EQ(bytes_of(t->m_buffer), content);
        } else {
            EXPECT_EQ(t->Result(), nullptr);
            EXPECT_EQ(t->m_buffer->m_bytes, nullptr);
        }
    }
}

}  // namespace
