#include "result_window/result_view.h"

#include <QBuffer>
#include <QFile>
#include <QUrlQuery>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

namespace stipplor {

namespace {

QByteArray Bytes(std::string_view text) {
  return {text.data(), static_cast<qsizetype>(text.size())};
}

// The page of our own: the document's head line, with the view's script in its HEAD, and one
// empty box of the whole page's size where the rows in sight go; the box sits in the centring
// DIV as the page's tables do, so that every row lands on the pixels it has in the whole page.
QByteArray ViewPage(const DocumentRows& rows) {
  QByteArray head = Bytes(rows.Head());
  head.replace("<HEAD></HEAD>", "<HEAD><script src=view.js></script></HEAD>");
  const QByteArray table = QString::fromLatin1(Bytes(rows.TableStart())).toHtmlEscaped().toLatin1();
  return head + "\r\n<div id=rows data-rows=" + QByteArray::number(rows.Count()) +
         " data-table=\"" + table +
         "\" style=\"position:relative;width:" + QByteArray::number(rows.Width()) +
         "px;height:" + QByteArray::number(rows.Height()) +
         "px\"></div>\r\n</DIV></BODY></HTML>\r\n";
}

void Reply(QWebEngineUrlRequestJob* job, const QByteArray& type, const QByteArray& data) {
  auto* buffer = new QBuffer(job);
  buffer->setData(data);
  job->reply(type, buffer);
}

}  // namespace

void RegisterResultViewScheme() {
  QWebEngineUrlScheme scheme(kResultViewScheme);
  scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
  // The page's script fetches its rows from its own origin.
  scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::CorsEnabled);
  QWebEngineUrlScheme::registerScheme(scheme);
}

ResultViewScheme::ResultViewScheme(Shown shown, QObject* parent)
    : QWebEngineUrlSchemeHandler(parent), shown_(std::move(shown)) {}

QUrl ResultViewScheme::PageUrl(int number) {
  return QUrl(QStringLiteral("%1://r%2/").arg(QLatin1String(kResultViewScheme)).arg(number));
}

void ResultViewScheme::requestStarted(QWebEngineUrlRequestJob* job) {
  const QUrl url = job->requestUrl();
  const auto [number, rows] = shown_();
  if (rows == nullptr || url.host() != QStringLiteral("r%1").arg(number)) {
    job->fail(QWebEngineUrlRequestJob::UrlNotFound);
    return;
  }
  const QString path = url.path();
  if (path == QStringLiteral("/")) {
    Reply(job, "text/html", ViewPage(*rows));
  } else if (path == QStringLiteral("/view.js")) {
    QFile script(QStringLiteral(":/result_window/view.js"));
    script.open(QIODevice::ReadOnly);
    Reply(job, "text/javascript", script.readAll());
  } else if (path == QStringLiteral("/rows")) {
    const QUrlQuery query(url);
    Reply(job, "text/plain",
          Bytes(rows->Lines(query.queryItemValue(QStringLiteral("from")).toInt(),
                            query.queryItemValue(QStringLiteral("to")).toInt())));
  } else {
    job->fail(QWebEngineUrlRequestJob::UrlNotFound);
  }
}

}  // namespace stipplor
