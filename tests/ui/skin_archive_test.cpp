#include <gtest/gtest.h>

#include <string>

#include "tests/ui/skin_fixture.h"
#include "ui/core/skin_archive.h"
#include "ui/core/skin_resources.h"

namespace {

using SkinTest::FixtureFolder;
using SkinTest::ReadBytes;
using SkinUI::ReadSkinFile;
using SkinUI::SkinArchive;

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

std::unique_ptr<SkinArchive> OpenFixture(const wchar_t* file) {
    const std::vector<uint8_t> bytes = ReadBytes(FixtureFolder() / file);
    return SkinArchive::Open(bytes.data(), bytes.size());
}

TEST(SkinArchive, UnpacksEveryFileEntryOfASolidArchive) {
    const auto archive = OpenFixture(L"skin.7z");
    ASSERT_NE(archive, nullptr);
    EXPECT_EQ(archive->Entries().size(), 16u);  // folders are not entries
    for (const auto& entry : archive->Entries()) {
        SCOPED_TRACE(Narrow(entry.name));
        EXPECT_EQ(entry.nameLength, static_cast<int32_t>(entry.name.size()) + 1);
        EXPECT_EQ(entry.data.size(), entry.size);
        EXPECT_EQ(entry.data, ReadBytes(FixtureFolder() / L"skin" / entry.name));
    }
}

TEST(SkinArchive, LookupIgnoresCaseAndSeparatorButNotLength) {
    const auto archive = OpenFixture(L"skin.7z");
    ASSERT_NE(archive, nullptr);
    const struct {
        const wchar_t* request;
        const wchar_t* found;  // null: no entry
    } cases[] = {
        {L"res/mainWnd/bg1.png", L"res/mainWnd/bg1.png"},
        {L"res\\mainWnd\\bg1.png", L"res/mainWnd/bg1.png"},
        {L"RES\\MAINWND/BG1.PNG", L"res/mainWnd/bg1.png"},
        {L"MainWnd.xml", L"mainWnd.xml"},
        {L"ExitTipWnd.xml", L"exitTipWnd.xml"},
        {L"res/mainWnd/installBtnAnimate/000.png", L"res/mainWnd/installBtnAnimate/000.png"},
        {L"res/mainWnd/bg", nullptr},          // a prefix is not a match
        {L"res/mainWnd/bg1.png2", nullptr},
        {L"bg1.png", nullptr},                 // no folder search: names start at the root
        {L"/res/mainWnd/bg1.png", nullptr},
        {L"res/mainWnd", nullptr},             // folders are not entries
        {L"", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.request));
        const auto* entry = archive->Find(c.request);
        if (c.found == nullptr) {
            EXPECT_EQ(entry, nullptr);
        } else {
            ASSERT_NE(entry, nullptr);
            EXPECT_EQ(entry->name, c.found);
        }
    }
}

TEST(SkinArchive, DamagedArchivesDoNotOpen) {
    for (const wchar_t* file : {L"skin_truncated.7z", L"skin_corrupt.7z", L"not_an_archive.7z"}) {
        SCOPED_TRACE(Narrow(file));
        EXPECT_EQ(OpenFixture(file), nullptr);
    }
    EXPECT_EQ(SkinArchive::Open(nullptr, 0), nullptr);
    EXPECT_EQ(SkinArchive::OpenFile((FixtureFolder() / L"missing.7z").wstring()), nullptr);
    EXPECT_NE(SkinArchive::OpenFile((FixtureFolder() / L"skin.7z").wstring()), nullptr);
}

class ReadSkinFileTest : public SkinTest::SkinSettingsTest {};

struct ReadCase {
    const wchar_t* name;
    const wchar_t* error;  // empty: the read succeeds
    size_t size;
};

void CheckReads(const ReadCase* begin, const ReadCase* end) {
    for (const ReadCase* c = begin; c != end; ++c) {
        SCOPED_TRACE(Narrow(c->name));
        const SkinUI::SkinFileRead read = ReadSkinFile(c->name);
        EXPECT_EQ(read.error, c->error);
        EXPECT_EQ(read.ok, c->error[0] == L'\0');
        EXPECT_EQ(read.bytes.size(), c->size);
    }
}

TEST_F(ReadSkinFileTest, FromTheArchiveInMemory) {
    UseMemoryArchive();
    const ReadCase cases[] = {
        {L"MainWnd.xml", L"", 115},
        {L"res\\mainWnd\\bg1.png", L"", ReadBytes(FixtureFolder() / L"skin/res/mainWnd/bg1.png").size()},
        {L"res/big/exact4mib.bin", L"", 4194304},
        {L"res/big/over4mib.bin", L"File too large", 0},
        {L"res/empty.txt", L"File is empty", 0},
        {L"res/common/closebtn4.png", L"Could not find ziped file", 0},
    };
    CheckReads(std::begin(cases), std::end(cases));
}

TEST_F(ReadSkinFileTest, FromAFolder) {
    UseFolder();
    const ReadCase cases[] = {
        {L"mainWnd.xml", L"", 115},
        {L"res\\big\\exact4mib.bin", L"", 4194304},
        {L"res/big/over4mib.bin", L"File too large", 0},
        {L"res/empty.txt", L"File is empty", 0},
        {L"res/common/closebtn4.png", L"Error opening file", 0},
    };
    CheckReads(std::begin(cases), std::end(cases));
}

TEST_F(ReadSkinFileTest, FromAnArchiveFileCachedOrOpenedPerRead) {
    SkinUI::SetResourcePath(FixtureFolder().wstring());
    for (bool cached : {true, false}) {
        SCOPED_TRACE(cached ? "cached" : "per read");
        SkinUI::SetArchive(L"skin.7z", cached);
        EXPECT_EQ(SkinUI::GetCachedArchive() != nullptr, cached);
        const ReadCase cases[] = {
            {L"exitTipWnd.xml", L"", 36},
            {L"nothing.xml", L"Could not find ziped file", 0},
        };
        CheckReads(std::begin(cases), std::end(cases));
    }
    SkinUI::SetArchive(L"skin_corrupt.7z", false);
    const ReadCase corrupt[] = {{L"exitTipWnd.xml", L"Error opening zip file", 0}};
    CheckReads(std::begin(corrupt), std::end(corrupt));
}

TEST_F(ReadSkinFileTest, ACorruptArchiveFailsEveryRead) {
    for (const wchar_t* file : {L"skin_corrupt.7z", L"skin_truncated.7z"}) {
        SCOPED_TRACE(Narrow(file));
        UseMemoryArchive(file);
        EXPECT_EQ(SkinUI::GetCachedArchive(), nullptr);
        const ReadCase cases[] = {
            {L"mainWnd.xml", L"Error opening zip file", 0},
            {L"res/mainWnd/bg1.png", L"Error opening zip file", 0},
        };
        CheckReads(std::begin(cases), std::end(cases));
    }
}

TEST_F(ReadSkinFileTest, TheMemoryArchiveIsOpenedOnlyOnce) {
    UseMemoryArchive();
    const SkinArchive* first = SkinUI::GetCachedArchive();
    ASSERT_NE(first, nullptr);
    const std::vector<uint8_t> other = ReadBytes(FixtureFolder() / L"skin_corrupt.7z");
    SkinUI::SetArchiveMemory(other.data(), other.size());  // a second window: nothing reopens
    EXPECT_EQ(SkinUI::GetCachedArchive(), first);
    EXPECT_EQ(SkinUI::GetArchiveName(), L"membuffer");
}

TEST_F(ReadSkinFileTest, TheArchiveResourceOfTheExecutableIsOpenedOnce) {
    SkinUI::SetArchive(L"", false);
    EXPECT_FALSE(SkinUI::OpenArchiveResource(148));  // no such resource
    EXPECT_EQ(SkinUI::GetArchiveName(), L"");
    ASSERT_TRUE(SkinUI::OpenArchiveResource(147));
    const SkinArchive* opened = SkinUI::GetCachedArchive();
    ASSERT_NE(opened, nullptr);
    EXPECT_TRUE(ReadSkinFile(L"res\\mainWnd\\bg1.png").ok);
    ASSERT_TRUE(SkinUI::OpenArchiveResource(147));  // a second window reuses it
    EXPECT_EQ(SkinUI::GetCachedArchive(), opened);
}

TEST_F(ReadSkinFileTest, ResourcePathEndsWithASeparator) {
    const struct {
        const wchar_t* given;
        const wchar_t* stored;
    } cases[] = {
        {L"C:\\skin", L"C:\\skin\\"}, {L"C:\\skin\\", L"C:\\skin\\"}, {L"skin/", L"skin/"}, {L"", L""},
    };
    for (const auto& c : cases) {
        SkinUI::SetResourcePath(c.given);
        EXPECT_EQ(SkinUI::GetResourcePath(), c.stored);
    }
    const std::wstring folder = SkinUI::GetExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), L'\\');
}

}  // namespace
