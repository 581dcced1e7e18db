#include "cli/man_page.h"

#include <string_view>

#include "cli/option_table.h"

namespace stipplor {

namespace {

// Text as roff prints it: a backslash is written "\e" and every hyphen "\-", so that options
// copied from the page are typed with the ASCII hyphen-minus they need.
std::string Escaped(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
    if (c == '\\') {
      escaped.append("\\e");
    } else if (c == '-') {
      escaped.append("\\-");
    } else {
      escaped.push_back(c);
    }
  }
  // A line starting with a dot or a quote would be read as a request.
  if (escaped.starts_with('.') || escaped.starts_with('\'')) escaped.insert(0, "\\&");
  return escaped;
}

std::string Bold(std::string_view text) { return "\\fB" + Escaped(text) + "\\fR"; }
std::string Italic(std::string_view text) { return "\\fI" + Escaped(text) + "\\fR"; }

// The option as --help writes it, words to type in bold and the value to choose in italics:
// "\fB\-\-size\fR \fB1:2\fR|\fB1:1\fR..." reads "--size 1:2|1:1...".
std::string OptionHeading(const OptionSpec& option) {
  std::string heading;
  for (std::size_t i = 0; i < option.names.size(); ++i) {
    if (i > 0) heading.append(option.synonyms ? ", " : " | ");
    heading.append(Bold(option.names[i]));
  }
  for (std::size_t i = 0; i < option.choices.size(); ++i) {
    heading.append(i == 0 ? " " : "|").append(Bold(option.choices[i]));
  }
  if (!option.valueName.empty()) heading.append(" ").append(Italic(option.valueName));
  return heading;
}

// "stipplor-encode [options] INPUT [-o OUTPUT]" with the program's name in bold.
std::string SynopsisLine(std::string_view usage) {
  const auto space = usage.find(' ');
  return ".B " + Escaped(usage.substr(0, space)) + "\n" + Escaped(usage.substr(space + 1)) + "\n";
}

constexpr std::string_view kDescription =
    R"(.SH DESCRIPTION
Each page draws its picture with no image file at all: tiny characters in a 3\-pixel font for
black\-and\-white text art (\fB\-\-bw\fR), or tiny coloured table cells (\fB\-\-colored\fR).
Without options the page is byte for byte the one the desktop program \fBstipplor\fR saves after
opening the same picture and choosing "Encode!" with its start options.
.PP
With \fB\-o\fR, or on standard output, one picture is encoded, its rows built on every core.
With \fB\-d\fR, each input becomes a page of its own in the folder, several pictures at a time
on a machine with several cores; the pages are the same as one run per picture would give.
A file that cannot be read or encoded is reported and the others go on.
An INPUT of \fB\-\fR is read from standard input, which must not be a terminal; its page has
no name to take into a folder, so it goes to \fB\-o\fR or standard output.
.PP
A photograph gives pages no browser shows: 4000 x 3000 pixels at 1:1 are 3,000,000 cells and
165 MB, while browsers manage pages of up to about 1,000,000 cells. \fB\-\-width\fR scales
the picture down to a page of that width first; a JPEG is then decoded at a fraction of its
size straight away, which is faster than decoding it whole.
.PP
Mail programs clip or refuse messages above about 100 KB. \fB\-\-max\-bytes\fR \fISIZE\fR
writes the widest page, up to the picture's own width, whose file takes at most \fISIZE\fR
bytes: candidate pages are counted and never written, over one decode of the JPEG at each
scale they need, and the page is the one \fB\-\-width\fR gives at the width found.
.PP
An output file is written beside its target under a temporary name and takes the target's place
only when the page is complete: a run that fails never leaves a truncated page or destroys an
earlier one. The new file keeps the owner, group and permissions of the one it replaces, as far
as the user may give them. A target that is not a regular file (a FIFO, a device, /dev/stdout)
is written in place.
.PP
When standard error is a terminal, a progress bar there shows the rows of cells done and the
rows of the pictures started; it is erased at the end. Nothing of it is written otherwise.
)";

constexpr std::string_view kEnd =
    R"(.SH EXIT STATUS
.TP
.B 0
Every picture was encoded.
.TP
.B 1
A picture could not be read or encoded (missing or damaged file, not a picture, a page larger
than the 16\-bit table dimensions allow: "Overflow", a page larger than \fB\-\-max\-bytes\fR
even at its narrowest), or an output could not be written.
.TP
.B 2
The command line was not understood; nothing was encoded.
.TP
.B 128 + \fIsignal\fR
Ended by SIGINT, SIGTERM or SIGHUP, after removing the temporary files of the pages being
written.
.SH EXAMPLES
.TP
.B stipplor\-encode photo.jpg \-o photo.html
The page the desktop program saves with its start options.
.TP
.B stipplor\-encode \-\-bw \-\-style fractal \-\-colorized photo.jpg > art.html
Black\-and\-white text art in the picture's colours, on standard output.
.TP
.B stipplor\-encode \-\-size 2:1 \-\-region 100,50,400,300 photo.jpg \-o part.html
Only a rectangle of the picture, in larger cells.
.TP
.B cat photo.jpg | stipplor\-encode \-\-width 800 \- > page.html
A photograph from a pipe, as a page 800 pixels wide.
.TP
.B stipplor\-encode \-\-max\-bytes 100k photo.jpg \-o mail.html
The widest page of at most 100,000 bytes, to paste into a mail.
.TP
.B stipplor\-encode \-\-quality low *.jpg \-d pages
Every JPEG of the folder into pages/\fIname\fR.html.
)";

}  // namespace

std::string ManPage() {
  std::string page = ".\\\" Made from the option table of stipplor-encode; edit that, not this.\n";
  page.append(".TH STIPPLOR\\-ENCODE 1 \"\" \"Stipplor ");
  page.append(Escaped(kVersion)).append("\" \"User Commands\"\n");
  page.append(".SH NAME\nstipplor\\-encode \\- draw pictures as HTML pages of tiny characters or ");
  page.append("coloured cells\n");
  page.append(".SH SYNOPSIS\n").append(SynopsisLine(kUsageLine));
  page.append(".br\n").append(SynopsisLine(kFolderUsageLine));
  page.append(kDescription);
  page.append(".SH OPTIONS\n");
  for (const OptionSpec& option : OptionTable()) {
    page.append(".TP\n").append(OptionHeading(option)).append("\n");
    page.append(Escaped(option.help)).append("\n");
  }
  page.append(kEnd);
  return page;
}

}  // namespace stipplor
