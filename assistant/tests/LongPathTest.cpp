// The temporary folder and long-path rules on real folders of the Wine prefix.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "assistant/win32/LongPath.h"
#include "framework/win32/WinText.h"

namespace {

std::u16string W(const wchar_t* s) {
    return FromWide(s);
}

// A folder tree under the system temporary folder, removed again after the test:
//   <root>\Lumvora Long Folder Name\Inner
class TempTree : public testing::Test {
  protected:
    void SetUp() override {
        wchar_t buf[MAX_PATH];
        GetTempPathW(MAX_PATH, buf);
        base = FromWide(buf);
        root = base + u"LvLongPathTest";
        longDir = root + u"\\Lumvora Long Folder Name";
        inner = longDir + u"\\Inner";
        CreateDirectoryW(AsWide(root), nullptr);
        CreateDirectoryW(AsWide(longDir), nullptr);
        CreateDirectoryW(AsWide(inner), nullptr);
        // The expected spelling is the disk's.
        longRoot = ExpandLongPath(root);
    }
    void TearDown() override {
        RemoveDirectoryW(AsWide(inner));
        RemoveDirectoryW(AsWide(longDir));
        RemoveDirectoryW(AsWide(root));
        SetEnvironmentVariableW(L"LV_TEST_TEMP", nullptr);
    }
    std::u16string TempDirFromValue(const std::u16string& value) {
        SetEnvironmentVariableW(L"LV_TEST_TEMP", AsWide(value));
        return TempDirFrom(u"%LV_TEST_TEMP%");
    }

    std::u16string base, root, longDir, inner, longRoot;
};

} // namespace

TEST_F(TempTree, ShortFormComesBackLong) {
    wchar_t shortBuf[MAX_PATH] = {};
    ASSERT_GT(GetShortPathNameW(AsWide(longDir), shortBuf, MAX_PATH), 0u);
    std::u16string shortPath = FromWide(shortBuf);
    ASSERT_NE(shortPath, longDir) << "the platform gave no 8.3 alias";
    EXPECT_EQ(ExpandLongPath(shortPath), longRoot + u"\\Lumvora Long Folder Name");
    EXPECT_EQ(TempDirFromValue(shortPath), longRoot + u"\\Lumvora Long Folder Name\\");
}

TEST_F(TempTree, TempDirValueTable) {
    const std::u16string expected = longRoot + u"\\Lumvora Long Folder Name\\";
    struct Case {
        const char* what;
        std::u16string value;
        std::u16string expected;
    } cases[] = {
        {"as is", longDir, expected},
        {"spaces and controls around", u"  \t" + longDir + u" \r\n", expected},
        {"trailing backslash kept once", longDir + u"\\", expected},
        {"relative parts resolved", inner + u"\\..", expected},
        {"missing folder", root + u"\\does not exist", u"C:\\"},
        {"a file, not a folder", W(L"C:\\windows\\system32\\kernel32.dll"), u"C:\\"},
        {"empty", u"   ", u"C:\\"},
        {"longer than 260", u"C:\\" + std::u16string(300, u'a'), u"C:\\"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TempDirFromValue(c.value), c.expected) << c.what;
}

TEST_F(TempTree, ComponentsFollowTheDisk) {
    struct Case {
        const char* what;
        std::u16string path;
        std::u16string expected;
    } cases[] = {
        {"letter case of the disk", longDir + u"\\INNER",
         longRoot + u"\\Lumvora Long Folder Name\\Inner"},
        {"wildcard takes first match", root + u"\\Lumvora*\\Inn?r",
         longRoot + u"\\Lumvora Long Folder Name\\Inner"},
        {"missing component and the rest kept as written", longDir + u"\\Missing\\X\\",
         longRoot + u"\\Lumvora Long Folder Name\\Missing\\X\\"},
        {"drive prefix kept as written", W(L"c:\\WINDOWS"), W(L"c:\\windows")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExpandLongPath(c.path), c.expected) << c.what;
}

TEST(LongPath, NetworkShareKeepsItsComponents) {
    // An unreachable share: nothing can be found, so everything stays as written.
    EXPECT_EQ(ExpandLongPath(u"\\\\lvnoserver\\Share\\Temp"), u"\\\\lvnoserver\\Share\\Temp");
    // The share cannot be reached: Windows answers "bad network path" (53), Wine "bad device
    // type" (66). Only "not found" and "invalid name" mean missing, so the folder counts as
    // existing and gets its one trailing "\".
    EXPECT_EQ(TempDirFrom(u"\\\\lvnoserver\\Share\\Temp"), u"\\\\lvnoserver\\Share\\Temp\\");
}
