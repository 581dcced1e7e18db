#include "shell/page_guard.h"

#include <QLocale>
#include <algorithm>

#include "engine/page_width.h"

namespace stipplor {

namespace {

// What a cell costs on the page, roughly: a colored cell of higher quality carries two colours
// and two characters ("<td bgcolor=#RRGGBB><font color=#RRGGBB>..</font></td>"), one of lower
// quality or of one pixel a colour; a B&W cell two characters, some written as entities.
long long BytesPerCell(const EncodeOptions& options) {
  if (options.BW != 0) return 4;
  return ColoredCellsCarryCharacters(options) ? 55 : 25;
}

QString Number(long long value) { return QLocale(QLocale::English).toString(value); }

QString Megabytes(long long bytes) { return Number((bytes + 500'000) / 1'000'000); }

}  // namespace

std::optional<PageGuard> GuardPage(const Region& region, const EncodeOptions& options,
                                   int pageWidth) {
  const long long cells = PageCells(region.Width, region.Height, options.Ratio, pageWidth);
  if (cells <= kPageCellLimit) return std::nullopt;
  PageGuard guard{cells, cells * BytesPerCell(options), 0};
  for (const int width : kMenuPageWidths) {
    if (PageCells(region.Width, region.Height, options.Ratio, width) <= kPageCellLimit) {
      guard.scaledWidth = width;
      break;
    }
  }
  return guard;
}

QString PageSummary(long long cells, long long bytes) {
  const QString size = bytes >= 1'000'000
                           ? Megabytes(bytes) + QStringLiteral(" MB")
                           : Number(std::max(1LL, (bytes + 500) / 1000)) + QStringLiteral(" KB");
  return Number(cells) + (cells == 1 ? QStringLiteral(" cell, ") : QStringLiteral(" cells, ")) +
         size;
}

QString PageGuard::Text() const {
  QString text = QStringLiteral(
                     "This page would have %1 cells, about %2 MB. The result window shows "
                     "it, but a browser opening the saved page holds it whole and shows pages "
                     "of up to about %3 cells.")
                     .arg(Number(cells), Megabytes(approximateBytes), Number(kPageCellLimit));
  text += u'\r';
  if (scaledWidth != 0) {
    text += QStringLiteral(
                "Encode it scaled to a page width of %1 pixels, at full size anyway, "
                "or not at all?")
                .arg(scaledWidth);
  } else {
    text += QStringLiteral("Encode it at full size anyway?");
  }
  return text;
}

QStringList PageGuard::Choices() const {
  QStringList choices;
  if (scaledWidth != 0) choices << QStringLiteral("Scale to %1 Pixels").arg(scaledWidth);
  choices << QStringLiteral("Full Size") << QStringLiteral("Cancel");
  return choices;
}

std::optional<int> PageGuard::WidthFor(int answer, int pageWidth) const {
  const int fullSize = scaledWidth != 0 ? 1 : 0;
  if (scaledWidth != 0 && answer == 0) return scaledWidth;
  if (answer == fullSize) return pageWidth;
  return std::nullopt;
}

}  // namespace stipplor
