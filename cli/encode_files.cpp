#include "cli/encode_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "cli/option_table.h"
#include "cli/page_names.h"
#include "cli/progress.h"
#include "cli/standard_input.h"
#include "engine/cell_grid.h"
#include "engine/encode.h"
#include "engine/int16.h"
#include "engine/stream_sinks.h"
#include "output/output_file.h"
#include "picture_io/file_names.h"
#include "picture_io/load_picture.h"
#include "picture_io/page_pictures.h"
#include "picture_io/picture_file.h"

namespace stipplor {

namespace {

constexpr int kFailure = 1;

bool IsSet(Int16 flag) { return flag != 0; }

// Why a run stopped with an overflow: past 16383 pixels a side a picture may not fit the page's
// 16-bit tables, which --width avoids.
std::string OverflowCause(const Picture& picture, const std::optional<Region>& region) {
  constexpr int kAlwaysFits = 16383;
  const int width = region ? region->Width : picture.Width();
  const int height = region ? region->Height : picture.Height();
  if (width <= kAlwaysFits && height <= kAlwaysFits) return "Overflow";
  return "Overflow: a page holds pictures of up to " + std::to_string(kAlwaysFits) +
         " pixels a side; scale this one down with --width";
}

// One input and where its page goes; no path is standard output.
struct Job {
  const std::string& input;
  std::optional<std::string> output;
};

class FileEncoder {
 public:
  FileEncoder(const CommandLine& line, Progress& progress) : line_(line), progress_(progress) {}

  // Encodes the job's picture into its output, which replaces its target only when all went
  // well. `threads` build the rows of the picture. The file counts as done either way.
  bool Encode(const Job& job, int threads) {
    const bool encoded = Run(job, threads);
    progress_.FileDone();
    return encoded;
  }

  bool Report(std::string_view subject, std::string_view cause) {
    // The cause may name a file too (a folder where no file can be created).
    progress_.Report(std::string(kProgramName) + ": " +
                     ReadableFileName(std::string(subject) + ": " + std::string(cause)));
    return false;
  }

 private:
  bool Run(const Job& job, int threads) {
    const std::string inputName = job.input == "-" ? "standard input" : job.input;
    std::unique_ptr<PictureFile> file;
    QByteArray bytes;
    std::optional<Picture> whole;
    std::optional<Picture> scaled;
    try {
      if (job.input == "-") {
        bytes = ReadStandardInput();
      } else {
        file = std::make_unique<PictureFile>(FileNameFromBytes(job.input));
        bytes = file->Bytes();
      }
      // Decoded whole only when the page width does not make a smaller picture from the file,
      // and then once.
      const auto decodeWhole = [&]() -> const Picture& {
        if (!whole) whole = DecodePicture(bytes);
        return *whole;
      };
      {
        PagePictures pictures(bytes, decodeWhole, line_.region, line_.options.Ratio);
        const int pageWidth =
            line_.maxBytes != 0
                ? FitPageToBytes(pictures, line_.options, line_.document, line_.maxBytes, threads)
                : line_.pageWidth;
        scaled = pictures.For(pageWidth);
      }
      if (!scaled) decodeWhole();
      // The file's bytes are not needed while the page is written.
      file.reset();
      bytes = QByteArray();
    } catch (const std::exception& error) {  // PictureError, PageBudgetError, out of memory
      return Report(inputName, error.what());
    }
    const Picture& picture = scaled ? *scaled : *whole;
    const std::optional<Region> region = scaled ? std::nullopt : line_.region;

    const std::string outputName = job.output.value_or("standard output");
    std::unique_ptr<OutputFile> output;
    try {
      output =
          job.output ? std::make_unique<OutputFile>(*job.output) : std::make_unique<OutputFile>();
    } catch (const OutputError& error) {
      return Report(outputName, error.what());
    }

    const ByteWriter write = [&output](std::string_view bytes) { output->Write(bytes); };
    const std::unique_ptr<LineSink> sink = PageWriter(line_.document, write);
    try {
      if (progress_.ShowsBar()) {
        const long long rows = CellGrid::Cut(picture, region, line_.options.Ratio).Rows();
        progress_.AddRows(rows);
        RowCountingSink counted(*sink, progress_, IsSet(line_.options.BW) ? 2 : 1, rows);
        stipplor::Encode(picture, region, line_.options, counted, threads);
      } else {
        stipplor::Encode(picture, region, line_.options, *sink, threads);
      }
      output->Commit();
    } catch (const OverflowError&) {
      return Report(inputName, OverflowCause(picture, region));
    } catch (const EncodeError& error) {
      return Report(inputName, error.what());
    } catch (const OutputError& error) {
      return Report(outputName, error.what());
    } catch (const std::exception& error) {  // out of memory, for one
      return Report(inputName, error.what());
    }
    return true;
  }

  const CommandLine& line_;
  Progress& progress_;
};

// Why `path` cannot take pages, or nothing when it is a folder.
std::optional<std::string> NotAFolder(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return std::strerror(errno);
  if (!S_ISDIR(status.st_mode)) return std::strerror(ENOTDIR);
  return std::nullopt;
}

}  // namespace

int EncodeFiles(const CommandLine& line) {
  const int files = static_cast<int>(line.inputs.size());
  Progress progress(STDERR_FILENO, files);
  FileEncoder encoder(line, progress);
  if (line.outputFolder) {
    if (const auto cause = NotAFolder(*line.outputFolder)) {
      encoder.Report(*line.outputFolder, *cause);
      return kFailure;
    }
  }
  const auto jobOf = [&line](const std::string& input) {
    return Job{input, line.outputFolder ? PagePath(*line.outputFolder, input) : line.output};
  };
  const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));

  // One file takes every core for its rows. Several take a core each, a whole file at a time,
  // which also spreads the decoding of the pictures.
  if (files == 1) return encoder.Encode(jobOf(line.inputs.front()), cores) ? 0 : kFailure;
  std::atomic<int> next = 0;
  std::atomic<bool> failed = false;
  const auto work = [&] {
    for (int i; (i = next++) < files;) {
      if (!encoder.Encode(jobOf(line.inputs[static_cast<std::size_t>(i)]), 1)) failed = true;
    }
  };
  std::vector<std::jthread> workers;
  // A thread the system refuses (a limit on threads) leaves its files to the others.
  try {
    for (int t = 1; t < std::min(cores, files); ++t) workers.emplace_back(work);
  } catch (const std::system_error&) {
  }
  work();
  workers.clear();  // joins
  return failed ? kFailure : 0;
}

}  // namespace stipplor
