#include "quillui/navigation/bmk_file.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <iterator>

#include "nav_test_support.h"
#include "quillui/navigation/bookmark_lists.h"
#include "quillui/testing/navigation.h"

namespace quill::test {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Record(const std::string& name, const std::string& type, const std::string& text) {
  omemstream os;
  os.writeByte('[');
  os << "ZBookmark" << name << type << text;
  os.writeByte(']');
  return os.bytes();
}

Bytes Header(uint32_t count) {
  return {'B',
          'M',
          'K',
          'L',
          uint8_t(count),
          uint8_t(count >> 8),
          uint8_t(count >> 16),
          uint8_t(count >> 24)};
}

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

class BmkFileTest : public NavTest {
 protected:
  void SetUp() override {
    NavTest::SetUp();
    MakeFrame(false);
    RegisterUserBookmarkWindow(&watcher);
    path = (dir / "list.bmk").string();
    GetUserBookmarks().SetFileName(path);
  }

  void WriteBytes(const std::string& p, const Bytes& bytes) {
    std::ofstream(p, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }
  Bytes ReadBytes(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
  }
  std::vector<std::string> UserTexts() {
    std::vector<std::string> out;
    for (int i = 0; i < GetUserBookmarks().GetCount(); ++i)
      out.emplace_back(GetUserBookmark(i)->GetText());
    return out;
  }
  void Fill(int count, const std::string& prefix = "Win ") {
    for (int i = 0; i < count; ++i)
      QuietlyAddUserBookmark(std::make_unique<ZBookmark>("ARTI", "Name " + std::to_string(i),
                                                         prefix + std::to_string(i)));
  }
  // The message boxes shown, as "caption|text|type".
  std::vector<std::string> Boxes() {
    std::vector<std::string> out;
    for (const TModalQuestion& q : Questions(TModalKind::MessageBox))
      out.push_back(q.caption + "|" + q.text + "|" + std::to_string(q.type));
    return out;
  }

  ListWatcher watcher;
  std::string path;
};

TEST_F(BmkFileTest, ByteLayoutOfTwoBookmarks) {
  QuietlyAddUserBookmark(std::make_unique<ZBookmark>("ARTI", "First", "ArticleWin codedref=1"));
  QuietlyAddUserBookmark(std::make_unique<ZBookmark>("MEDI", "Second", "MediaWin"));
  ASSERT_TRUE(WriteUserBookmarks());
  EXPECT_FALSE(GetUserBookmarks().IsModified());
  EXPECT_EQ(ReadBytes(path), Cat({Header(2), Record("First", "ARTI", "ArticleWin codedref=1"),
                                  Record("Second", "MEDI", "MediaWin")}));
  EXPECT_TRUE(Boxes().empty());

  ClearUserBookmarks();
  ReadUserBookmarks(0);
  ASSERT_EQ(GetUserBookmarks().GetCount(), 2);
  EXPECT_EQ(GetUserBookmark(0)->GetName(), "First");
  EXPECT_STREQ(GetUserBookmark(0)->GetType(), "ARTI");
  EXPECT_EQ(GetUserBookmark(1)->GetText(), "MediaWin");
  EXPECT_STREQ(GetUserBookmark(1)->GetType(), "MEDI");
  EXPECT_FALSE(GetUserBookmarks().IsModified());
  EXPECT_EQ(GetUserBookmarks().GetFileName(), path);
  EXPECT_TRUE(Questions(TModalKind::Dialog).empty());
}

TEST_F(BmkFileTest, LiteralBytesOfSmallLists) {
  ASSERT_TRUE(WriteUserBookmarks());
  EXPECT_EQ(ReadBytes(path), (Bytes{0x42, 0x4D, 0x4B, 0x4C, 0, 0, 0, 0}));

  QuietlyAddUserBookmark(std::make_unique<ZBookmark>("ARTI", "A", "W"));
  ASSERT_TRUE(WriteUserBookmarks());
  EXPECT_EQ(ReadBytes(path),
            (Bytes{0x42, 0x4D, 0x4B, 0x4C, 0x01, 0,   0,   0,    0x5B, 0x09, 0, 0,   0,   'Z',
                   'B',  'o',  'o',  'k',  'm',  'a', 'r', 'k',  0x01, 0,    0, 0,   'A', 0x04,
                   0,    0,    0,    'A',  'R',  'T', 'I', 0x01, 0,    0,    0, 'W', 0x5D}));

  WriteBytes(path, Header(0));
  Fill(2);
  ReadUserBookmarks(0);
  EXPECT_EQ(GetUserBookmarks().GetCount(), 0);
}

TEST_F(BmkFileTest, AppendAddsToTheList) {
  Fill(2, "file ");
  ASSERT_TRUE(WriteUserBookmarks());
  ClearUserBookmarks();
  Fill(3, "held ");
  watcher.codes.clear();
  ReadUserBookmarks(1);
  EXPECT_EQ(UserTexts(),
            (std::vector<std::string>{"held 0", "held 1", "held 2", "file 0", "file 1"}));
  EXPECT_FALSE(GetUserBookmarks().IsModified());
  EXPECT_EQ(watcher.codes, (std::vector<int>{0}));
}

TEST_F(BmkFileTest, BookmarksReadFromAFileOutliveTheListAndEachOther) {
  Fill(3);
  ASSERT_TRUE(WriteUserBookmarks());
  ReadUserBookmarks(0);
  ASSERT_EQ(GetUserBookmarks().GetCount(), 3);
  // One taken out of the list, one changed from a view of its own text, one copied: the
  // list is emptied, and each must still hold its own value (ASan sees any stale view).
  std::unique_ptr<ZBookmark> kept = GetUserBookmarks().Detach(0);
  ZBookmark* changed = GetUserBookmark(0);
  changed->SetText(changed->GetText().substr(1));
  changed->SetName(changed->GetName());
  const ZBookmark copy(*GetUserBookmark(1));
  std::unique_ptr<ZBookmark> changedKept = GetUserBookmarks().Detach(0);
  ClearUserBookmarks();
  EXPECT_EQ(kept->GetName(), "Name 0");
  EXPECT_EQ(kept->GetText(), "Win 0");
  EXPECT_STREQ(kept->GetType(), "ARTI");
  EXPECT_EQ(changedKept->GetText(), "in 1");
  EXPECT_EQ(changedKept->GetName(), "Name 1");
  kept.reset();
  EXPECT_EQ(changedKept->GetText(), "in 1");
  EXPECT_EQ(copy.GetText(), "Win 2");
}

TEST_F(BmkFileTest, TextsAreRewrittenBeforeSaving) {
  SetChangeSeqNumToTitleHook([](std::string& t) { t = "titled " + t; });
  Fill(1);
  ASSERT_TRUE(WriteUserBookmarks());
  EXPECT_EQ(GetUserBookmark(0)->GetText(), "titled Win 0");
  ClearUserBookmarks();
  ReadUserBookmarks(0);
  EXPECT_EQ(UserTexts(), (std::vector<std::string>{"titled Win 0"}));
}

TEST_F(BmkFileTest, MissingFileAndWrongMagicAreReported) {
  Fill(2);
  GetUserBookmarks().SetModified(true);
  GetUserBookmarks().SetFileName((dir / "gone.bmk").string());
  ReadUserBookmarks(0);
  EXPECT_EQ(GetUserBookmarks().GetCount(), 0);
  EXPECT_FALSE(GetUserBookmarks().IsModified());

  WriteBytes(path, Cat({{'B', 'M', 'K', 'X'}, Header(0)}));
  GetUserBookmarks().SetFileName(path);
  Fill(1);
  ReadUserBookmarks(1);  // appending: what was held stays
  EXPECT_EQ(GetUserBookmarks().GetCount(), 1);
  WriteBytes(path, {'B', 'M'});
  ReadUserBookmarks(0);
  EXPECT_EQ(GetUserBookmarks().GetCount(), 0);

  const std::string gone = (dir / "gone.bmk").string();
  EXPECT_EQ(Boxes(), (std::vector<std::string>{
                         "Read Bookmark List|Unable to open file\n'" + gone + "'|48",
                         "Read Bookmark List|Not a valid bookmark list\n'" + path + "'|48",
                         "Read Bookmark List|Not a valid bookmark list\n'" + path + "'|48"}));
  for (const TModalQuestion& q : Questions(TModalKind::MessageBox))
    EXPECT_EQ(q.owner, frame->GetHandle());
}

TEST_F(BmkFileTest, DamagedFilesKeepWhatCameBeforeTheDamage) {
  const Bytes a = Record("A", "ARTI", "Win a");
  const Bytes b = Record("B", "ARTI", "Win b");
  Bytes longString = Record("C", "ARTI", "Win c");
  longString[1 + 13 + 4 + 1 + 1] = 0x7F;  // the type's length, now far past the end
  Bytes otherClass = Record("D", "ARTI", "Win d");
  otherClass[1 + 4] = 'Y';  // "YBookmark"
  Bytes noEnd = b;
  noEnd.back() = 'x';
  const Bytes cut(b.begin(), b.end() - 3);
  struct Case {
    const char* name;
    Bytes bytes;
    size_t kept;
  };
  const Case cases[] = {
      {"count beyond the records", Cat({Header(5), a, b}), 2},
      {"huge count", Cat({Header(0xFFFFFFFFu), a}), 1},
      {"count below the records", Cat({Header(1), a, b}), 1},
      {"truncated record", Cat({Header(2), a, cut}), 1},
      {"string past the end", Cat({Header(3), a, longString, b}), 1},
      {"unknown class", Cat({Header(3), a, otherClass, b}), 1},
      {"no end mark", Cat({Header(3), a, noEnd, b}), 1},
      {"null pointer record", Cat({Header(2), Bytes{0}, a}), 0},
      {"header only", Header(7), 0},
      {"count cut short", Bytes{'B', 'M', 'K', 'L', 1, 0}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteBytes(path, c.bytes);
    ReadUserBookmarks(0);
    ASSERT_EQ(size_t(GetUserBookmarks().GetCount()), c.kept);
    if (c.kept > 0) {
      EXPECT_EQ(GetUserBookmark(0)->GetText(), "Win a");
    }
  }
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(BmkFileTest, SuppressionMakesReadingDoNothing) {
  WriteSettings("[DevParm]\nSuppressBookmarks=1\n");
  ResetNavigation();
  RegisterUserBookmarkWindow(&watcher);
  GetUserBookmarks().SetFileName(path);
  Fill(2);
  GetUserBookmarks().SetModified(true);
  watcher.codes.clear();
  ReadUserBookmarks(0);
  EXPECT_EQ(GetUserBookmarks().GetCount(), 2);
  EXPECT_TRUE(GetUserBookmarks().IsModified());
  EXPECT_TRUE(watcher.codes.empty());
  EXPECT_TRUE(Boxes().empty());
}

// ---- writes that fail ------------------------------------------------------------------------

class BmkWriteFailureTest : public BmkFileTest {
 protected:
  void SetUp() override {
    BmkFileTest::SetUp();
    // Saves keep backups: a failed save must leave the backup as it was too.
    SetKeepBookmarkBackup(true);
    Fill(1, "older ");
    ASSERT_TRUE(WriteUserBookmarks());
    bakBytes = ReadBytes(path);
    Fill(1, "old ");
    ASSERT_TRUE(WriteUserBookmarks());
    oldBytes = ReadBytes(path);
    ASSERT_EQ(ReadBytes(path + ".bak"), bakBytes);
    Fill(3000, "a rather longer text for a new bookmark number ");
  }
  // The write failed visibly and harmlessly: old file intact, no temporary left, the user
  // told, the list still to be saved.
  void ExpectRefused(const std::string& target, const std::string& shownName) {
    EXPECT_FALSE(WriteUserBookmarks());
    if (!target.empty()) {
      EXPECT_EQ(ReadBytes(target), oldBytes);
      EXPECT_EQ(ReadBytes(target + ".bak"), bakBytes);
    }
    EXPECT_TRUE(GetUserBookmarks().IsModified());
    EXPECT_EQ(Boxes(),
              (std::vector<std::string>{"Save Bookmark List|Unable to save bookmark list\n'" +
                                        shownName + "'|48"}));
    for (const auto& entry : std::filesystem::directory_iterator(
             std::filesystem::path(target.empty() ? path : target).parent_path()))
      EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << entry.path();
  }
  Bytes oldBytes, bakBytes;
};

TEST_F(BmkWriteFailureTest, DirectoryThatRefusesWrites) {
  const std::string locked = (dir / "locked").string();
  std::filesystem::create_directory(locked);
  const std::string file = locked + "/list.bmk";
  WriteBytes(file, oldBytes);
  WriteBytes(file + ".bak", bakBytes);
  ::chmod(locked.c_str(), 0555);
  // The superuser writes anywhere a mode allows nothing; an immutable directory stops it too.
  const int fd = ::open(locked.c_str(), O_RDONLY | O_DIRECTORY);
  int flags = 0;
  const bool immutable = ::access(locked.c_str(), W_OK) == 0 && fd >= 0 &&
                         ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 &&
                         (flags |= FS_IMMUTABLE_FL, ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0);
  const std::string probe = locked + "/probe";
  const int probeFd = ::open(probe.c_str(), O_CREAT | O_WRONLY, 0644);
  if (probeFd >= 0) {
    ::close(probeFd);
    ::unlink(probe.c_str());
  } else {
    GetUserBookmarks().SetFileName(file);
    ExpectRefused(file, file);
  }
  if (immutable) {
    flags &= ~FS_IMMUTABLE_FL;
    ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
  }
  if (fd >= 0) ::close(fd);
  ::chmod(locked.c_str(), 0755);
  if (probeFd >= 0) GTEST_SKIP() << "no way to make a directory refuse writes here";
}

TEST_F(BmkWriteFailureTest, FileSizeLimitActsAsAFullDevice) {
  struct rlimit saved {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto* previous = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 4096;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  ExpectRefused(path, path);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);
}

TEST_F(BmkWriteFailureTest, FullTmpfs) {
  const std::string mnt = (dir / "small").string();
  std::filesystem::create_directory(mnt);
  if (::mount("tmpfs", mnt.c_str(), "tmpfs", 0, "size=64k") != 0)
    GTEST_SKIP() << "cannot mount a small tmpfs here";
  const std::string file = mnt + "/list.bmk";
  WriteBytes(file, oldBytes);
  WriteBytes(file + ".bak", bakBytes);
  GetUserBookmarks().SetFileName(file);
  ExpectRefused(file, file);
  ::umount2(mnt.c_str(), MNT_DETACH);
}

TEST_F(BmkWriteFailureTest, DevicesAndDirectoriesAreNotReplaced) {
  struct stat before {};
  ASSERT_EQ(::stat("/dev/full", &before), 0);
  GetUserBookmarks().SetFileName("/dev/full");
  ExpectRefused("", "/dev/full");
  struct stat after {};
  ASSERT_EQ(::stat("/dev/full", &after), 0);
  EXPECT_TRUE(S_ISCHR(after.st_mode));
  EXPECT_EQ(after.st_rdev, before.st_rdev);

  ClearRecordedQuestions();
  GetUserBookmarks().SetFileName(dir.string());
  EXPECT_FALSE(WriteUserBookmarks());
  EXPECT_TRUE(std::filesystem::is_directory(dir));
}

TEST_F(BmkFileTest, SavesKeepThePreviousListAsABackupWhenAsked) {
  const std::string bak = BookmarkBackupName(path);
  EXPECT_EQ(bak, path + ".bak");
  Fill(1);
  ASSERT_TRUE(WriteUserBookmarks());
  ASSERT_TRUE(WriteUserBookmarks());
  EXPECT_FALSE(std::filesystem::exists(bak));  // off unless a host asks

  SetKeepBookmarkBackup(true);
  Bytes first = ReadBytes(path);
  Fill(1, "second ");
  ASSERT_TRUE(WriteUserBookmarks());
  EXPECT_EQ(ReadBytes(bak), first);
  const Bytes second = ReadBytes(path);
  EXPECT_NE(second, first);
  Fill(1, "third ");
  ASSERT_TRUE(WriteUserBookmarks());
  EXPECT_EQ(ReadBytes(bak), second);
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << entry.path();

  // A backup that cannot be made (a directory holds its name) fails the save untouched.
  const Bytes third = ReadBytes(path);
  std::filesystem::remove(bak);
  std::filesystem::create_directory(bak);
  std::filesystem::create_directory(bak + "/inside");
  Fill(1, "fourth ");
  EXPECT_FALSE(WriteUserBookmarks());
  EXPECT_EQ(ReadBytes(path), third);
  EXPECT_TRUE(std::filesystem::is_directory(bak + "/inside"));
  EXPECT_TRUE(GetUserBookmarks().IsModified());
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << entry.path();
}

TEST_F(BmkFileTest, SymbolicLinksAreFollowed) {
  Fill(1);
  const std::string real = (dir / "real.bmk").string();
  WriteBytes(real, Header(0));
  std::filesystem::create_symlink(real, path);
  ASSERT_TRUE(WriteUserBookmarks());
  EXPECT_TRUE(std::filesystem::is_symlink(path));
  EXPECT_EQ(ReadBytes(real), ReadBytes(path));
  EXPECT_GT(ReadBytes(real).size(), 8u);
}

}  // namespace
}  // namespace quill::test
