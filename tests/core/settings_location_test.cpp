// Which settings files a launcher reads and writes: a table over a folder
// this user can or cannot write, the Location key of the file beside the exe
// and which files exist, through a fake of the settings storage; and the
// file services' probe on the real disk.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "services/services.h"
#include "shell/settings_location.h"
#include "support/case_name.h"
#include "support/temp_dir.h"
#include "text/user_error.h"
#include "text/utf.h"

namespace morvane {
namespace {

const std::u16string kExeFolder = u"C:\\Apps\\MorvaneX\\";
const std::u16string kBesideExe = kExeFolder + u"MorvaneX.ini";
const std::u16string kUserFolder = u"C:\\Users\\op\\AppData\\Local\\MorvaneX\\";
const std::u16string kPerUser = kUserFolder + u"MorvaneX.ini";

std::u16string folderOf(std::u16string_view path) {
    return std::u16string(path.substr(0, path.find_last_of(u'\\') + 1));
}

std::u16string keyName(SettingsKey key) {
    return describeKey(key);
}

// Settings files as maps of "[section] name" to value, in folders that this
// user can or cannot write. Like the profile functions, a writer keeps the
// file's other keys; like the system, nothing is written into a folder that
// does not exist or cannot be written, and a missing folder is made only
// where its parent can be written.
class FakeSettingsStorage final : public SettingsStorage {
  public:
    using File = std::map<std::u16string, std::u16string>;

    std::map<std::u16string, File> files;
    std::set<std::u16string> folders{kExeFolder, u"C:\\Users\\op\\AppData\\Local\\"};
    std::set<std::u16string> unwritable; // folders and files
    // Every file and folder that came to be, in order.
    std::vector<std::u16string> made;
    int probes = 0;

    bool canReplace(std::u16string_view path) override {
        ++probes;
        const std::u16string folder = folderOf(path);
        return folders.count(folder) && !unwritable.count(folder) &&
               !unwritable.count(std::u16string(path));
    }

    std::unique_ptr<SettingsSource> read(std::u16string_view path) override {
        const auto found = files.find(std::u16string(path));
        return std::make_unique<Source>(found == files.end() ? File{} : found->second);
    }

    std::unique_ptr<SettingsSink> write(std::u16string_view path) override {
        const std::u16string folder = folderOf(path);
        if (!folders.count(folder)) {
            const std::u16string parent = folderOf(folder.substr(0, folder.size() - 1));
            if (folders.count(parent) && !unwritable.count(parent)) {
                folders.insert(folder);
                made.push_back(folder);
            }
        }
        return std::make_unique<Sink>(*this, std::u16string(path));
    }

  private:
    class Source final : public SettingsSource {
      public:
        explicit Source(File file) : file_(std::move(file)) {}
        std::optional<std::u16string> readText(SettingsKey key) const override {
            const auto found = file_.find(keyName(key));
            if (found == file_.end())
                return std::nullopt;
            return found->second;
        }
        SettingsPairs readSection(std::u16string_view section) const override {
            SettingsPairs pairs;
            const std::u16string prefix = u"[" + std::u16string(section) + u"] ";
            for (const auto& [key, value] : file_)
                if (key.starts_with(prefix))
                    pairs.emplace_back(key.substr(prefix.size()), value);
            return pairs;
        }

      private:
        File file_;
    };

    class Sink final : public SettingsSink {
      public:
        Sink(FakeSettingsStorage& storage, std::u16string path)
            : storage_(storage), path_(std::move(path)) {
            const auto found = storage_.files.find(path_);
            if (found != storage_.files.end())
                file_ = found->second;
        }
        bool writeText(SettingsKey key, std::u16string_view value) override {
            file_[keyName(key)] = value;
            return true;
        }
        bool replaceSection(std::u16string_view section, const SettingsPairs& pairs) override {
            const std::u16string prefix = u"[" + std::u16string(section) + u"] ";
            std::erase_if(file_,
                          [&](const auto& entry) { return entry.first.starts_with(prefix); });
            for (const auto& [key, value] : pairs)
                file_[prefix + key] = value;
            return true;
        }
        bool commit() override {
            if (!storage_.canReplace(path_))
                return false;
            if (!storage_.files.count(path_))
                storage_.made.push_back(path_);
            storage_.files[path_] = file_;
            return true;
        }

      private:
        FakeSettingsStorage& storage_;
        std::u16string path_;
        File file_;
    };
};

enum class Folder { Writable, Unwritable, FileUnwritable };
enum class Location { Absent, PerUser, Other };
enum class Which { None, Exe, User, Both };

struct LocationCase {
    const char* name;
    friend void PrintTo(const LocationCase& c, std::ostream* os) { *os << c.name; }
    Folder folder;
    Location location;
    Which existing;
    SettingsPlace place;
};

class SettingsLocationTable : public testing::TestWithParam<LocationCase> {
  protected:
    // The administrator's file: a place and the department's CAD; the
    // operator's: a place of their own, no CAD.
    void SetUp() override {
        const auto& c = GetParam();
        if (c.existing == Which::Exe || c.existing == Which::Both) {
            auto& file = storage.files[kBesideExe];
            file = {{u"[Form] Left", u"10"},
                    {u"[Form] Width", u"400"},
                    {u"[Target] ProgID", u"Department.Cad"},
                    {u"[Pinned] 1", u"ADMIN"},
                    {u"[Keys] Activate", u"Ctrl+F9"}};
            if (c.location == Location::PerUser)
                file[u"[Settings] Location"] = u"peruser"; // letter case ignored
            if (c.location == Location::Other)
                file[u"[Settings] Location"] = u"Shared";
        }
        if (c.existing == Which::User || c.existing == Which::Both) {
            storage.folders.insert(kUserFolder);
            storage.files[kPerUser] = {
                {u"[Form] Left", u"20"}, {u"[Form] Top", u"30"}, {u"[Pinned] 1", u"MINE"}};
        }
        if (c.folder == Folder::Unwritable)
            storage.unwritable.insert(kExeFolder);
        if (c.folder == Folder::FileUnwritable)
            storage.unwritable.insert(kBesideExe);
        before = storage.files;
    }

    bool exeFile() const {
        return GetParam().existing == Which::Exe || GetParam().existing == Which::Both;
    }
    bool userFile() const {
        return GetParam().existing == Which::User || GetParam().existing == Which::Both;
    }

    FakeSettingsStorage storage;
    std::map<std::u16string, FakeSettingsStorage::File> before;
};

TEST_P(SettingsLocationTable, ReadsEachValueFromTheRightFileAndWritesOnlyOne) {
    const auto& c = GetParam();
    const SettingsFiles files = chooseSettingsFiles(kBesideExe, kPerUser, storage);
    EXPECT_EQ(files.place, c.place);
    const bool perUser = c.place != SettingsPlace::BesideExe;
    // Location=PerUser is taken as it is, without a probe.
    EXPECT_EQ(storage.probes, c.place == SettingsPlace::PerUserAsked ? 0 : 1);

    // Each value: the operator's file, else the file beside the exe, else
    // the default.
    const LauncherSettings read = readSettings(files, storage);
    const bool fromUser = perUser && userFile();
    EXPECT_EQ(read.left, fromUser    ? std::optional(20)
                         : exeFile() ? std::optional(10)
                                     : std::nullopt);
    EXPECT_EQ(read.top, fromUser ? std::optional(30) : std::nullopt);
    EXPECT_EQ(read.width, exeFile() ? std::optional(400) : std::nullopt);
    EXPECT_EQ(read.height, std::nullopt);
    EXPECT_EQ(read.progId, exeFile() ? u"Department.Cad" : kDefaultProgID);
    EXPECT_EQ(read.activate, exeFile() ? std::optional<std::u16string>(u"Ctrl+F9") : std::nullopt);
    // The pins are a list: the operator's own where they keep their own
    // settings, never the administrator's in their place.
    const SettingsPairs pinned =
        perUser ? (userFile() ? SettingsPairs{{u"1", u"MINE"}} : SettingsPairs{})
                : (exeFile() ? SettingsPairs{{u"1", u"ADMIN"}} : SettingsPairs{});
    EXPECT_EQ(read.pinned, pinned);
    EXPECT_TRUE(storage.made.empty()) << "reading makes nothing";

    writeSettings(files,
                  LauncherSettings::toKeep({70, 80, 330, 270}, u"Chosen.Cad", {{u"1", u"NEW"}}),
                  storage);
    const std::u16string written = perUser ? kPerUser : kBesideExe;
    EXPECT_EQ(files.written(), written);
    auto expected = before;
    auto& file = expected[written];
    file[u"[Form] Left"] = u"70";
    file[u"[Form] Top"] = u"80";
    file[u"[Form] Width"] = u"330";
    file[u"[Form] Height"] = u"270";
    file[u"[Target] ProgID"] = u"Chosen.Cad";
    file[u"[Pinned] 1"] = u"NEW";
    EXPECT_EQ(storage.files, expected) << "only the written file changed";
    if (perUser) {
        for (const auto& path : storage.made)
            EXPECT_NE(folderOf(path), kExeFolder) << "made beside the exe: " << utf16ToUtf8(path);
    }
    if (perUser && !userFile()) {
        EXPECT_EQ(storage.made, (std::vector<std::u16string>{kUserFolder, kPerUser}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsLocationTable,
    testing::Values(
        // As always: beside the exe, whatever the operator's folder holds.
        LocationCase{"writable no files", Folder::Writable, Location::Absent, Which::None,
                     SettingsPlace::BesideExe},
        LocationCase{"writable exe file", Folder::Writable, Location::Absent, Which::Exe,
                     SettingsPlace::BesideExe},
        LocationCase{"writable both files", Folder::Writable, Location::Absent, Which::Both,
                     SettingsPlace::BesideExe},
        LocationCase{"writable other location", Folder::Writable, Location::Other, Which::Both,
                     SettingsPlace::BesideExe},
        // The administrator's choice on a writable share.
        LocationCase{"writable per user", Folder::Writable, Location::PerUser, Which::Exe,
                     SettingsPlace::PerUserAsked},
        LocationCase{"writable per user both files", Folder::Writable, Location::PerUser,
                     Which::Both, SettingsPlace::PerUserAsked},
        // A folder the operator cannot write: per user, whatever the key.
        LocationCase{"unwritable no files", Folder::Unwritable, Location::Absent, Which::None,
                     SettingsPlace::PerUserExeUnwritable},
        LocationCase{"unwritable exe file", Folder::Unwritable, Location::Absent, Which::Exe,
                     SettingsPlace::PerUserExeUnwritable},
        LocationCase{"unwritable user file", Folder::Unwritable, Location::Absent, Which::User,
                     SettingsPlace::PerUserExeUnwritable},
        LocationCase{"unwritable both files", Folder::Unwritable, Location::Absent, Which::Both,
                     SettingsPlace::PerUserExeUnwritable},
        LocationCase{"unwritable other location", Folder::Unwritable, Location::Other, Which::Exe,
                     SettingsPlace::PerUserExeUnwritable},
        LocationCase{"unwritable per user", Folder::Unwritable, Location::PerUser, Which::Both,
                     SettingsPlace::PerUserAsked},
        // A writable folder whose settings file is read-only for this user.
        LocationCase{"file unwritable", Folder::FileUnwritable, Location::Absent, Which::Exe,
                     SettingsPlace::PerUserExeUnwritable},
        LocationCase{"file unwritable both files", Folder::FileUnwritable, Location::Other,
                     Which::Both, SettingsPlace::PerUserExeUnwritable}),
    test::CaseName());

struct WriteFailureCase {
    const char* name;
    friend void PrintTo(const WriteFailureCase& c, std::ostream* os) { *os << c.name; }
    bool perUser;
    std::u16string shown;
};

class SettingsWriteFailure : public testing::TestWithParam<WriteFailureCase> {};

// The operator's own file that cannot be written is named in the error; the
// file beside the exe stays as it was.
TEST_P(SettingsWriteFailure, NamesTheFileThatCouldNotBeWritten) {
    FakeSettingsStorage storage;
    storage.files[kBesideExe] = {{u"[Settings] Location", u"PerUser"}};
    if (!GetParam().perUser)
        storage.files[kBesideExe].clear();
    const auto before = storage.files;
    const SettingsFiles files = chooseSettingsFiles(kBesideExe, kPerUser, storage);
    // Now neither can be written.
    storage.unwritable = {kExeFolder, u"C:\\Users\\op\\AppData\\Local\\"};
    try {
        writeSettings(files, LauncherSettings::toKeep({1, 2, 3, 4}, u"X", {}), storage);
        FAIL() << "expected UserError";
    } catch (const UserError& error) {
        EXPECT_EQ(error.message(), GetParam().shown);
    }
    EXPECT_EQ(storage.files, before);
    EXPECT_TRUE(storage.made.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsWriteFailure,
    testing::Values(WriteFailureCase{"per user", true, kPerUser + u" に書き込めません"},
                    WriteFailureCase{"beside the exe", false, kBesideExe + u" に書き込めません"}),
    test::CaseName());

// A pin changed writes the pinned section at once, into the file close
// writes and no other.
TEST(SettingsLocation, PinsGoAtOnceToTheFileCloseWrites) {
    FakeSettingsStorage storage;
    storage.files[kBesideExe] = {{u"[Settings] Location", u"PerUser"}, {u"[Pinned] 1", u"ADMIN"}};
    const auto before = storage.files[kBesideExe];
    const SettingsFiles files = chooseSettingsFiles(kBesideExe, kPerUser, storage);
    LauncherSettings settings;
    settings.pinned = {{u"1", u"LINE\tline.lsp"}};
    writePinnedSettings(files, settings, storage);
    EXPECT_EQ(storage.files[kPerUser],
              (FakeSettingsStorage::File{{u"[Pinned] 1", u"LINE\tline.lsp"}}));
    EXPECT_EQ(storage.files[kBesideExe], before);
    storage.unwritable.insert(kUserFolder);
    try {
        writePinnedSettings(files, settings, storage);
        FAIL() << "expected UserError";
    } catch (const UserError& error) {
        EXPECT_EQ(error.message(), kPerUser + u" に書き込めません");
    }
}

// Without a local application data folder there is nowhere else: the file
// beside the exe, as always, and its error when it cannot be written.
TEST(SettingsLocation, WithoutAPerUserPathTheFileBesideTheExeIsUsed) {
    FakeSettingsStorage storage;
    storage.unwritable.insert(kExeFolder);
    const SettingsFiles files = chooseSettingsFiles(kBesideExe, u"", storage);
    EXPECT_EQ(files.place, SettingsPlace::BesideExe);
    EXPECT_EQ(files.written(), kBesideExe);
    EXPECT_EQ(storage.probes, 0);
}

TEST(SettingsLocation, PerUserPathIsInLocalAppDataUnderTheExesName) {
    EXPECT_EQ(perUserSettingsPath(u"C:\\Users\\op\\AppData\\Local", u"\\\\srv\\cad\\Tool.ini"),
              u"C:\\Users\\op\\AppData\\Local\\MorvaneX\\Tool.ini");
    EXPECT_EQ(perUserSettingsPath(u"C:\\Users\\op\\AppData\\Local\\", kBesideExe), kPerUser);
    EXPECT_EQ(perUserSettingsPath(u"", kBesideExe), u"");
}

// The file services' probe on the real disk: it answers without leaving a
// file behind or changing the settings file.
TEST(CanReplaceFile, AnswersWithoutLeavingAnythingBehind) {
    test::TempDir dir;
    auto& files = platformServices().files;
    EXPECT_TRUE(files.canReplaceFile(dir.file(u"MorvaneX.ini"))); // missing, folder writable
    EXPECT_TRUE(dir.fileNames().empty());

    dir.write(u"MorvaneX.ini", "[Form]\r\nLeft=1\r\n");
    const auto stamp = std::filesystem::last_write_time(dir.path() / "MorvaneX.ini");
    EXPECT_TRUE(files.canReplaceFile(dir.file(u"MorvaneX.ini")));
    EXPECT_EQ(dir.read(u"MorvaneX.ini"), "[Form]\r\nLeft=1\r\n");
    EXPECT_EQ(std::filesystem::last_write_time(dir.path() / "MorvaneX.ini"), stamp);
    EXPECT_EQ(dir.fileNames(), std::set<std::u16string>{u"MorvaneX.ini"});

    std::filesystem::create_directory(dir.path() / "folder.ini");
    EXPECT_FALSE(files.canReplaceFile(dir.file(u"folder.ini"))); // a folder is no file
    EXPECT_FALSE(files.canReplaceFile(dir.file(u"missing/MorvaneX.ini")));
    EXPECT_EQ(dir.fileNames(), (std::set<std::u16string>{u"MorvaneX.ini", u"folder.ini"}));
}

} // namespace
} // namespace morvane
