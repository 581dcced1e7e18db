// "&Save As ..." and the result window's SaveAs: the saved-file form, the overwrite question,
// and failures that leave an existing file as it was.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <csignal>
#include <fstream>
#include <iterator>

#include "engine/html_document.h"
#include "picture_io/file_names.h"
#include "tests/support/gui/app_fixture.h"

namespace stipplor::testing {
namespace {

const QString kSaveFilter = QStringLiteral("(*.html;*.htm) | *.html;*.htm");

class SaveTest : public AppFixture {
 protected:
  void SetUp() override {
    AppFixture::SetUp();
    Open(WritePicture(QStringLiteral("p.bmp"), GradientImage(30, 20)));
    EncodeAndWait();
    caption = form->ResultWindow()->windowTitle();
    dialogs.calls.clear();
  }

  QByteArray Expected() const {
    return QByteArray::fromStdString(
        SavedFileForm(form->ResultWindow()->ShownDocument().BodyMarkup()));
  }

  void WriteFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
  }

  QString Question(const QString& path) const {
    return path + QStringLiteral(" already exists.\rDo you want to overwrite it?");
  }

  QString caption;
};

TEST_F(SaveTest, WritesTheFramedBodyToANewFileAndTakesItsPathAsCaption) {
  const QString path = Path(QStringLiteral("out.html"));
  SaveAs(path);
  ASSERT_EQ(dialogs.calls.back().kind, ScriptedDialogs::Kind::Save);
  EXPECT_EQ(dialogs.calls.back().filter, kSaveFilter);

  // "<HTML><HEAD></HEAD><BODY>", the body of the shown document (the lines of the run between
  // the body tags) and "</BODY></HTML>", every line ended by CR LF.
  const QByteArray saved = ReadAll(path);
  EXPECT_EQ(saved, Expected());
  const QByteArray document =
      QByteArray::fromStdString(form->ResultWindow()->ShownDocument().Text());
  const QByteArray body = document.mid(document.indexOf("<DIV"));
  EXPECT_EQ(saved, "<HTML><HEAD></HEAD><BODY>\r\n" + body.left(body.indexOf("</BODY>")) +
                       "\r\n</BODY></HTML>\r\n");
  EXPECT_EQ(saved.count('\n'), saved.count("\r\n"));
  EXPECT_EQ(form->ResultWindow()->windowTitle(), path);
  EXPECT_TRUE(dialogs.Warnings().empty());
}

TEST_F(SaveTest, ProposesThePictureAsAPageInTheFolderSavedToLast) {
  ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("pages")));
  // Each row: the name typed in the dialog; the file written; the name the next dialog proposes.
  const struct {
    QString typed, written, proposedNext;
  } cases[] = {
      {Path(QStringLiteral("pages/plain")), Path(QStringLiteral("pages/plain.html")),
       Path(QStringLiteral("pages/p.html"))},
      {Path(QStringLiteral("short.htm")), Path(QStringLiteral("short.htm")),
       Path(QStringLiteral("p.html"))},
      {Path(QStringLiteral("pages/notes.txt")), Path(QStringLiteral("pages/notes.txt")),
       Path(QStringLiteral("pages/p.html"))},
  };
  QString proposed = Path(QStringLiteral("p.html"));  // at first in the picture's folder
  for (const auto& c : cases) {
    SaveAs(c.typed);
    EXPECT_EQ(dialogs.calls.back().fileName, proposed) << c.typed.toStdString();
    EXPECT_EQ(ReadAll(c.written), Expected()) << c.written.toStdString();
    EXPECT_EQ(form->ResultWindow()->windowTitle(), c.written);
    proposed = c.proposedNext;
  }
  EXPECT_FALSE(QFile::exists(Path(QStringLiteral("pages/plain"))));
}

TEST_F(SaveTest, WritesToANameThatIsNoUtf8AndShowsItReadably) {
  const QByteArray path = QFile::encodeName(Path(QStringLiteral("caf"))) + "\xE9.html";
  SaveAs(FileNameFromBytes(path));
  std::ifstream file(path.constData(), std::ios::binary);
  const std::string saved((std::istreambuf_iterator<char>(file)), {});
  ::unlink(path.constData());  // the folder's own clean-up cannot name it
  EXPECT_EQ(QByteArray::fromStdString(saved), Expected());
  EXPECT_EQ(form->ResultWindow()->windowTitle(), Path(QStringLiteral("caf\\xE9.html")));
  SaveAs(FileNameFromBytes(QFile::encodeName(Path(QStringLiteral("missing/caf"))) + "\xE9.html"));
  EXPECT_EQ(dialogs.Warnings(),
            std::vector<QString>{QStringLiteral("Cannot save %1: No such file or directory")
                                     .arg(Path("missing/caf\\xE9.html"))});
}

TEST_F(SaveTest, CancellingTheDialogDoesNothing) {
  Trigger("mnuSave");
  EXPECT_EQ(dialogs.calls.size(), 1U);
  EXPECT_EQ(form->ResultWindow()->windowTitle(), caption);
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("p.bmp")});
}

TEST_F(SaveTest, AnExistingFileIsKeptWhenTheAnswerIsNo) {
  const QString path = Path(QStringLiteral("out.html"));
  WriteFile(path, "old");
  Qt::CursorShape atQuestion = Qt::ArrowCursor;
  dialogs.onShow = [&] { atQuestion = form->ResultWindow()->cursor().shape(); };
  dialogs.answers.push_back(false);
  SaveAs(path);
  ASSERT_EQ(dialogs.calls.back().kind, ScriptedDialogs::Kind::Question);
  EXPECT_EQ(dialogs.calls.back().text, Question(path));
  EXPECT_EQ(dialogs.calls.back().title, QStringLiteral("Stipplor"));
  EXPECT_EQ(atQuestion, Qt::WaitCursor);
  EXPECT_EQ(form->ResultWindow()->cursor().shape(), Qt::ArrowCursor);
  EXPECT_EQ(ReadAll(path), "old");
  EXPECT_EQ(form->ResultWindow()->windowTitle(), caption);
}

// Whether the name exists decides, not whether the file can be read.
TEST_F(SaveTest, ALinkToNowhereIsAskedAboutAndKept) {
  const QString path = Path(QStringLiteral("out.html"));
  ASSERT_TRUE(QFile::link(Path(QStringLiteral("nowhere.html")), path));
  dialogs.answers.push_back(false);
  SaveAs(path);
  EXPECT_EQ(dialogs.calls.back().text, Question(path));
  EXPECT_TRUE(QFileInfo(path).isSymLink());
}

TEST_F(SaveTest, AnExistingFileIsReplacedWhenTheAnswerIsYes) {
  const QString path = Path(QStringLiteral("out.html"));
  WriteFile(path, "old");
  dialogs.answers.push_back(true);
  SaveAs(path);
  EXPECT_EQ(dialogs.calls.back().kind, ScriptedDialogs::Kind::Question);
  EXPECT_EQ(ReadAll(path), Expected());
  EXPECT_EQ(form->ResultWindow()->windowTitle(), path);
}

TEST_F(SaveTest, ASecondSaveToTheSamePathAsks) {
  const QString path = Path(QStringLiteral("out.html"));
  SaveAs(path);
  SaveAs(path);
  EXPECT_EQ(dialogs.calls.back().kind, ScriptedDialogs::Kind::Question);
  EXPECT_EQ(dialogs.calls.back().text, Question(path));
}

TEST_F(SaveTest, AFolderThatDoesNotExistIsReportedAndALaterSaveSucceeds) {
  const QString path = Path(QStringLiteral("missing/out.html"));
  Qt::CursorShape atMessage = Qt::WaitCursor;
  dialogs.onShow = [&] { atMessage = form->ResultWindow()->cursor().shape(); };
  SaveAs(path);
  dialogs.onShow = nullptr;
  EXPECT_EQ(
      dialogs.Warnings(),
      std::vector<QString>{QStringLiteral("Cannot save %1: No such file or directory").arg(path)});
  EXPECT_EQ(dialogs.calls.back().title, QStringLiteral("Stipplor"));
  EXPECT_EQ(atMessage, Qt::ArrowCursor);
  EXPECT_EQ(form->ResultWindow()->windowTitle(), caption);

  const QString good = Path(QStringLiteral("out.html"));
  SaveAs(good);
  EXPECT_EQ(ReadAll(good), Expected());
  EXPECT_EQ(form->ResultWindow()->windowTitle(), good);
}

TEST_F(SaveTest, ADirectoryCountsAsAbsentAndIsNotReplaced) {
  const QString path = Path(QStringLiteral("adir.html"));
  ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("adir.html")));
  WriteFile(path + QStringLiteral("/inside.txt"), "kept");
  SaveAs(path);
  EXPECT_EQ(dialogs.calls.back().kind, ScriptedDialogs::Kind::Warning);
  EXPECT_EQ(dialogs.Warnings().size(), 1U);
  EXPECT_EQ(ReadAll(path + QStringLiteral("/inside.txt")), "kept");
  EXPECT_EQ(form->ResultWindow()->windowTitle(), caption);
}

// Files may grow to `bytes` while this lives; a longer write fails as on a full disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
};

TEST_F(SaveTest, AFailedWriteLeavesTheOldFileIntact) {
  const QString path = Path(QStringLiteral("out.html"));
  WriteFile(path, "the old document");
  ASSERT_GT(Expected().size(), 100);
  dialogs.answers.push_back(true);
  {
    FileSizeLimit limit(100);
    SaveAs(path);
  }
  ASSERT_EQ(dialogs.Warnings().size(), 1U);
  EXPECT_FALSE(dialogs.Warnings().front().isEmpty());
  EXPECT_EQ(ReadAll(path), "the old document");
  EXPECT_EQ(form->ResultWindow()->windowTitle(), caption);
  // No half-written file is left beside it.
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files),
            QStringList({QStringLiteral("out.html"), QStringLiteral("p.bmp")}));
}

}  // namespace
}  // namespace stipplor::testing
