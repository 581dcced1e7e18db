// Runs the real stipplor-encode on real files, in a folder whose name has spaces and characters
// beyond ASCII.

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

#include "cli/command_line.h"
#include "cli/option_table.h"
#include "engine/encode.h"
#include "engine/html_document.h"
#include "picture_io/load_picture.h"
#include "tests/support/run_program.h"
#include "tests/support/test_files.h"

namespace stipplor {
namespace {

using namespace test;

const QByteArray kOldPage = "<HTML>the page of an earlier run</HTML>\r\n";

// A folder anyone may write to, with a copy of stipplor-encode for runs as another user: the
// build may lie in a folder only its owner enters.
struct Folder {
  Folder() {
    ::chmod(temp.Path().c_str(), 0755), ::mkdir(path.c_str(), 0), ::chmod(path.c_str(), 0777);
    std::filesystem::copy_file(STIPPLOR_ENCODE_PATH, encoder);
    std::filesystem::permissions(encoder, std::filesystem::perms(0755));
  }
  std::string operator/(const std::string& name) const { return path + "/" + name; }
  TempDir temp;
  std::string path = temp / "Bilder – été 写真", encoder = path + "/stipplor-encode";
};

// Runs the command as a user of its own when the tests run as root, so that permissions count
// and no other process counts towards the user's limits.
Finished RunAsUser(std::vector<std::string> command, const std::string& in = "/dev/null") {
  if (const std::string user = std::to_string(100000 + ::getpid()); ::geteuid() == 0) {
    command.insert(command.begin(),
                   {"/usr/bin/setpriv", "--reuid=" + user, "--regid=" + user, "--clear-groups"});
  }
  return RunProgram(command[0], {command.begin() + 1, command.end()}, "", in);
}

// Whatever fails, the run says what and why in one line (a usage error adds the usage) and
// leaves every target as it was, with no temporary file beside it. As another user than root,
// so that permissions count.
TEST(EncoderProgram, AFailedRunSaysWhyAndKeepsTheTarget) {
  const Folder dir;
  const std::string& encoder = dir.encoder;
  const std::string picture = dir / "picture.bmp", page = dir / "page.html";
  WriteFile(picture, Encoded(Gradient(200, 200), "BMP"));  // a page of some 600 kB
  WriteFile(dir / "wide.bmp", Encoded(Gradient(16384, 1), "BMP"));
  WriteFile(dir / "locked.bmp", Encoded(Gradient(8, 8), "BMP"));
  QByteArray png = Encoded(Gradient(8, 8), "PNG");
  png[19] = 0;  // the header's width, which its checksum no longer matches
  WriteFile(dir / "damaged.png", png);
  ::chmod((dir / "locked.bmp").c_str(), 0200);
  ::mkdir((dir / "read-only").c_str(), 0555), ::mkdir((dir / "drop").c_str(), 0);
  ::chmod((dir / "drop").c_str(), 0333);
  WriteFile(dir / "huge", ""), ::truncate((dir / "huge").c_str(), 3LL << 30);
  std::vector<std::string> targets = {page, dir / "locked.html", dir / "read-only/page.html"};
  struct Case {
    std::vector<std::string> args;
    std::string message, in = "/dev/null";  // in: standard input
  };
  std::vector<Case> cases = {
      {{},
       "no input picture given\nUsage: stipplor-encode [options] INPUT [-o OUTPUT]\n"
       "       stipplor-encode [options] INPUT... -d DIR\n"
       "Try 'stipplor-encode --help' for the options."},
      {{dir / "f\xE9hlt.gif", "-o", page}, dir / "f\\xE9hlt.gif: no such file"},
      {{dir / "locked.bmp", "-o", page}, dir / "locked.bmp: permission denied"},
      {{dir / "wide.bmp", "--size", "1:2", "-o", page},
       dir / "wide.bmp: Overflow: a page holds pictures of up to 16383 pixels a side; scale "
             "this one down with --width"},
      {{dir / "damaged.png"},
       dir / "damaged.png: damaged picture file (Unable to read image data)"},  // libpng quiet
      {{"-"}, "standard input: file larger than the 2 GiB limit", dir / "huge"},
      {{"-"}, "standard input: is a directory", dir.path},
      {{picture, "-o", "/dev/full"}, "/dev/full: No space left on device"},
      {{picture, "-o", dir / "no/page.html"}, dir / "no/page.html: No such file or directory"},
      {{picture, "-o", dir.path}, dir.path + ": Is a directory"},
      {{picture, "-o", page + "/page.html"}, page + "/page.html: Not a directory"},
      {{picture, "-o", dir / "locked.html"}, dir / "locked.html: Permission denied"},
      {{picture, "-o", dir / "read-only/page.html"},
       dir / "read-only/page.html: Cannot create a file in " +
           dir / "read-only: Permission denied"},
      {{picture, "-d", dir / "none"}, dir / "none: No such file or directory"},
      {{picture, "-d", page}, page + ": Not a directory"},
      // The limit's signal does not kill the program: the write fails, and is reported.
      {{"--fsize=16384", encoder, picture, "-o", page}, page + ": File too large"},
      {{picture, "--max-bytes", "100", "-o", page},
       picture + ": even the narrowest page, 2 pixels wide, takes " +
           std::to_string(RunEncoder({"--width=2", picture}).out.size()) +
           " bytes, more than the 100 allowed"},
  };
  // Root's file in a folder with the sticky bit is refused before the page is made.
  ::mkdir((dir / "sticky").c_str(), 0), ::chmod((dir / "sticky").c_str(), 01777);
  if (::geteuid() == 0) {
    targets.push_back(dir / "sticky/page.html");
    cases.push_back({{picture, "-o", targets.back()},
                     targets.back() + ": Operation not permitted (another user's file in a folder "
                                      "with the sticky bit)"});
  }
  // A tmpfs of 64 kB, which root may mount: a disk that fills halfway through the page.
  ::mkdir((dir / "disk").c_str(), 0777);
  if (::mount("stipplor-test", (dir / "disk").c_str(), "tmpfs", 0, "size=64k,mode=0777") == 0) {
    targets.push_back(dir / "disk/page.html");
    cases.push_back(
        {{picture, "-o", targets.back()}, targets.back() + ": No space left on device"});
  }
  for (const std::string& target : targets) {
    WriteFile(target, kOldPage);
    ::chmod(target.c_str(), target.ends_with("locked.html") ? 0444 : 0666);
  }
  const auto names = [&] { return std::pair(NamesIn(dir.path), NamesIn(dir / "disk")); };
  const auto before = names();
  for (auto [args, message, in] : cases) {
    const bool limited = !args.empty() && args[0].starts_with("--fsize");
    args.insert(args.begin(), limited ? "/usr/bin/prlimit" : encoder);
    const Finished run = RunAsUser(args, in);
    EXPECT_EQ(run.exitCode, args.size() == 1 ? 2 : 1) << message;
    EXPECT_EQ(run.err, "stipplor-encode: " + message + "\n");
  }
  // A folder that may be written to but not read takes a page all the same.
  EXPECT_EQ(RunAsUser({encoder, picture, "-o", dir / "drop/page.html"}).exitCode, 0);
  EXPECT_EQ(names(), before);
  for (const std::string& target : targets) EXPECT_EQ(ReadFile(target), kOldPage) << target;
  // With standard error closed (2>&-), a report must not land in the file opened next.
  ::mkfifo((dir / "fifo").c_str(), 0600);
  const std::string script = "exec 3<>\"$0\" 2>&-; \"$@\" -o \"$0\"; echo end >&3; head -n1 <&3";
  const std::vector<std::string> wide = {"-c",    script,       dir / "fifo",
                                         encoder, "--size=1:2", dir / "wide.bmp"};
  EXPECT_EQ(RunProgram("/bin/sh", wide).out, "end\n");
  ::umount2((dir / "disk").c_str(), MNT_DETACH);
}

// The page is the desktop program's for the same picture, options and selection.
TEST(EncoderProgram, WritesThePageOfTheDesktopProgram) {
  const Folder dir;
  const std::string picture = dir / "gradient.bmp";
  WriteFile(picture, Encoded(Gradient(50, 40), "BMP"));
  const std::vector<std::string> runs[] = {
      {picture, "-d", dir.path + "/"},  // one input may go into a folder too
      {"-"},                            // standard input
      {"--document", "--bw", picture},
      {"--bw", "--style=fractal", "--size", "1:2", "--colorized", "--region", "3,5,21,17", picture},
      {"--quality", "low", "--no-minimize", "--region", "-6,-4,70,12", picture},
  };
  for (const auto& args : runs) {
    const CommandLine line =
        ParseCommandLine(std::vector<std::string_view>(args.begin(), args.end()));
    HtmlDocument document;
    Encode(LoadPicture(QString::fromStdString(picture)), line.region, line.options, document);
    const Finished run = RunEncoder(args, "", picture);
    EXPECT_EQ(std::to_string(run.exitCode) + run.err, "0");
    EXPECT_EQ(line.outputFolder ? ReadFile(dir / "gradient.html").toStdString() : run.out,
              line.document ? document.Text() : SavedFileForm(document.BodyMarkup()));
  }
  // Standard input left non-blocking by the program that shares it, the picture coming later.
  const Finished waited = RunProgram(
      "/bin/sh", {"-c",
                  "(sleep 0.3; cat \"$0\") | python3 -c 'import os, sys; os.set_blocking(0, False);"
                  " os.execv(sys.argv[1], sys.argv[1:])' \"$1\" -",
                  picture, STIPPLOR_ENCODE_PATH});
  EXPECT_EQ(waited.exitCode, 0) << waited.err;
  EXPECT_TRUE(waited.out == RunEncoder({picture}).out);
  // A file that standard output already writes to is written in place, not replaced.
  const std::string redirected = dir / "redirected.html";
  WriteFile(redirected, "");
  const ino_t inode = StatusOf(redirected).st_ino;
  EXPECT_EQ(RunEncoder({picture, "-o", "/dev/stdout"}, redirected).exitCode, 0);
  EXPECT_EQ(StatusOf(redirected).st_ino, inode);
  EXPECT_EQ(ReadFile(redirected), ReadFile(dir / "gradient.html"));

  // --max-bytes: the page of --width at the widest width whose file, in the form written, keeps
  // to the bytes (the table's width); one cell wider does not. A page that keeps to them whole
  // stays as it is.
  for (const std::string form : {"--bw", "--document"}) {
    const std::string page = RunEncoder({"--max-bytes=1k", form, picture}).out;
    const int width = std::stoi(page.substr(page.find(" width=") + 7));
    const auto atWidth = [&](int w) {
      return RunEncoder({"--width=" + std::to_string(w), form, picture}).out;
    };
    EXPECT_EQ(atWidth(width), page);
    EXPECT_LE(page.size(), 1000U);
    EXPECT_GT(atWidth(width + 2).size(), 1000U);
  }
  EXPECT_EQ(RunEncoder({"--max-bytes=2M", picture}).out, RunEncoder({picture}).out);
  EXPECT_EQ(RunEncoder({"--bw", "--width=800", "--caption"}).out,
            "1:1  B&W  Dotted  Grey  Width-800\n");
  EXPECT_EQ(RunEncoder({"--help"}).out, HelpText());
}

// Each input gets the page of a run of its own, a file that fails is reported and the others go
// on; on a terminal, a bar counts the rows and files meanwhile, and is erased.
TEST(EncoderProgram, SeveralInputsGoOnPastAFileThatFails) {
  const Folder dir;
  WriteFile(dir / "a.bmp", Encoded(Gradient(300, 1200), "BMP"));
  WriteFile(dir / "caf\xE9.bmp", Encoded(Gradient(200, 800), "BMP"));  // Latin-1, no UTF-8
  WriteFile(dir / "text.jpg", "not a picture\n");
  const auto command = [&dir](const std::string& folder) {
    std::vector<std::string> args = {"--bw", "--size", "1:2", "-d", dir / folder};
    for (const char* name : {"a.bmp", "text.jpg", "missing.gif", "caf\xE9.bmp"}) {
      args.push_back(dir / name);
    }
    ::mkdir((dir / folder).c_str(), 0), ::chmod((dir / folder).c_str(), 0777);
    return args;
  };
  const std::vector<std::string> args = command("pages");
  WriteFile(dir / "pages/text.html", kOldPage);
  const std::string missing = "stipplor-encode: " + dir / "missing.gif: no such file\n";
  const std::string text =
      "stipplor-encode: " + dir / "text.jpg: not a picture file (unsupported or damaged)\n";
  const Finished piped = RunEncoder(args);
  EXPECT_EQ(piped.exitCode, 1);
  EXPECT_TRUE(piped.err == missing + text || piped.err == text + missing) << piped.err;
  EXPECT_EQ(NamesIn(dir / "pages"),
            (std::vector<std::string>{"a.html", "caf\xE9.html", "text.html"}));
  EXPECT_EQ(ReadFile(dir / "pages/text.html"), kOldPage);
  // Where the system refuses every new thread (a user at the limit of their processes, which
  // binds no root), the one thread there is encodes them all.
  std::vector<std::string> limited = {"/usr/bin/prlimit", "--nproc=1", "/usr/bin/env",
                                      "ASAN_OPTIONS=detect_leaks=0", dir.encoder};
  const std::vector<std::string> again = command("again");
  limited.insert(limited.end(), again.begin(), again.end());
  EXPECT_EQ(RunAsUser(limited).exitCode, 1);
  for (const std::string name : {"a", "caf\xE9"}) {
    const std::string alone = RunEncoder({"--bw", "--size", "1:2", dir / (name + ".bmp")}).out;
    EXPECT_EQ(ReadFile(dir / ("pages/" + name + ".html")).toStdString(), alone);
    EXPECT_EQ(ReadFile(dir / ("again/" + name + ".html")).toStdString(), alone);
  }
  // A pipe whose reader is gone: on standard error it loses the reports, not the pages or the
  // temporary files; on standard output it fails the page alone.
  ::mkfifo((dir / "fifo").c_str(), 0600);
  const auto broken = [&](const std::string& stream, std::vector<std::string> args) {
    args.insert(args.begin(), {"-c", "exec 3<>\"$0\" " + stream + ">\"$0\" 3<&-; exec \"$@\"",
                               dir / "fifo", STIPPLOR_ENCODE_PATH});
    return RunProgram("/bin/sh", args);
  };
  EXPECT_EQ(broken("2", command("unread")).exitCode, 1);
  EXPECT_EQ(NamesIn(dir / "unread"), (std::vector<std::string>{"a.html", "caf\xE9.html"}));
  const Finished unread = broken("1", {dir / "a.bmp"});
  EXPECT_EQ(unread.exitCode, 1);
  EXPECT_EQ(unread.err, "stipplor-encode: standard output: Broken pipe\n");
  // However many inputs, a thread a core at most: counted in the calls that start threads.
  EXPECT_EQ(RunEncoderTraced("clone,clone3", dir / "threads", command("traced")).exitCode, 1);
  EXPECT_LT(ReadFile(dir / "threads").count('\n'), std::thread::hardware_concurrency());
  const auto [reading, terminal] = OpenTerminal();
  std::vector<std::string> onTerminal = {"-c", "exec \"$@\" 2>\"$0\"", ::ttyname(terminal),
                                         STIPPLOR_ENCODE_PATH};
  onTerminal.insert(onTerminal.end(), args.begin(), args.end());
  EXPECT_EQ(RunProgram("/bin/sh", onTerminal).exitCode, 1);
  const std::string shown = Written(reading);
  EXPECT_TRUE(shown.find("/4 files") != std::string::npos && shown.ends_with(" \r") &&
              shown.find(missing) != std::string::npos && shown.find(text) != std::string::npos)
      << shown;
  // A picture is never typed: "-" on a terminal is a usage error, unless nothing is encoded.
  const Finished typed = RunEncoder({"-"}, "", ::ttyname(terminal));
  EXPECT_EQ(typed.exitCode, 2);
  EXPECT_TRUE(typed.err.starts_with(
      "stipplor-encode: standard input is a terminal; pipe a picture into '-' or name a file\n"));
  EXPECT_EQ(RunEncoder({"--caption", "-"}, "", ::ttyname(terminal)).exitCode, 0);
  ::close(terminal), ::close(reading);
}

}  // namespace
}  // namespace stipplor
