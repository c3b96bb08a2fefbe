#include "ResultsSite.h"

#include "core/CodePage.h"
#include "core/Codes.h"
#include "core/Dates.h"
#include "core/Formats.h"

#include <QAbstractHttpServer>
#include <QDate>
#include <QHostAddress>
#include <QHttpServerRequest>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

namespace {

const QString kFormPayoutList = QStringLiteral("W01PH_D/xW01");
const QString kFormResults = QStringLiteral("W01PS_D3/xW01");

QByteArray html(const QString& title, const QString& text) {
    // Everything stays inside one <pre>: the browser renders and copies it verbatim, so the text the
    // window takes from the page is exactly the builder's lines.
    const QString html = QStringLiteral("<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"Shift_JIS\">\n"
                                        "<title>%1</title>\n</head>\n<body>\n<pre>%2</pre>\n</body>\n</html>\n")
                             .arg(title.toHtmlEscaped(), text.toHtmlEscaped());
    return CodePage::encode(html);
}

bool allDigits(QStringView text) {
    for (const QChar c : text) {
        if (c < u'0' || c > u'9') {
            return false;
        }
    }
    return true;
}

QByteArray reasonPhrase(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 400:
        return "Bad Request";
    case 404:
        return "Not Found";
    default:
        return "Internal Server Error";
    }
}

// Written by hand rather than through a responder: a slow answer is sent long after the request
// handler returned, when the connection may already be gone.
void writeReply(QTcpSocket* socket, int status, const QByteArray& html) {
    QByteArray reply = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reasonPhrase(status) + "\r\n";
    reply += "Content-Type: text/html; charset=Shift_JIS\r\n";
    reply += "Content-Length: " + QByteArray::number(html.size()) + "\r\n";
    reply += "Connection: close\r\n\r\n";
    reply += html;
    socket->write(reply);
    socket->disconnectFromHost();
}

// The meeting day a code names, for a meeting the site holds no race of: the date is today's.
ResultPages::MeetingDay dayOfCode(const QString& code) {
    ResultPages::MeetingDay day;
    day.venue = kaisaiName(static_cast<qint16>(code.left(2).toInt()));
    day.year = code.mid(2, 4).toInt();
    day.kaiJi = code.mid(6, 2).toInt();
    day.hiJi = code.mid(8, 2).toInt();
    const QDate today = QDate::currentDate();
    day.month = today.month();
    day.day = today.day();
    day.weekday = Dates::weekdayMark(today).mid(1, 1);
    return day;
}

} // namespace

class ResultsSite::Server : public QAbstractHttpServer {
public:
    explicit Server(ResultsSite* site) : m_site(site) {}

protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override {
        const QByteArray method = request.method() == QHttpServerRequest::Method::Post  ? "POST"
                                  : request.method() == QHttpServerRequest::Method::Get ? "GET"
                                                                                        : "OTHER";
        bool slow = false;
        const Reply reply = m_site->respond(method, request.url().path(), request.body(), &slow);
        if (!slow) {
            writeReply(socket, reply.status, reply.html);
            return true;
        }
        const QPointer<QTcpSocket> guard(socket);
        QTimer::singleShot(m_site->m_slowMs, m_site, [guard, reply] {
            if (guard && guard->state() == QAbstractSocket::ConnectedState) {
                writeReply(guard, reply.status, reply.html);
            }
        });
        return true;
    }
    void missingHandler(const QHttpServerRequest&, QTcpSocket* socket) override {
        writeReply(socket, 404, html(QStringLiteral("Not Found"), QStringLiteral("Not Found\r\n")));
    }

private:
    ResultsSite* m_site;
};

ResultsSite::ResultsSite(QObject* parent) : QObject(parent), m_server(std::make_unique<Server>(this)) {}

ResultsSite::~ResultsSite() = default;

QString ResultsSite::meetingCode(const ResultPages::MeetingDay& day) {
    return Fmt::zeros(kaisaiCode(day.venue), 2) + Fmt::zeros(day.year, 4) + Fmt::zeros(day.kaiJi, 2) +
           Fmt::zeros(day.hiJi, 2);
}

void ResultsSite::addRace(const ResultPages::RacePage& race) {
    m_races[meetingCode(race.meeting)][race.raceNum] = race;
}

void ResultsSite::setAnswer(const QString& meetingCode, const QString& race, Answer answer) {
    m_answers[{meetingCode, race}] = answer;
}

void ResultsSite::setSlowMs(int ms) {
    m_slowMs = qMax(0, ms);
}

bool ResultsSite::listen() {
    return listen(0);
}

bool ResultsSite::listen(quint16 port) {
    const quint16 bound = m_server->listen(QHostAddress(QHostAddress::LocalHost), port);
    if (bound == 0) {
        return false;
    }
    m_port = bound;
    return true;
}

QString ResultsSite::base() const {
    return m_port == 0 ? QString() : QStringLiteral("http://127.0.0.1:%1").arg(m_port);
}

QStringList ResultsSite::requests() const {
    return m_requests;
}

ResultsSite::Reply ResultsSite::respond(const QByteArray& method, const QString& path, const QByteArray& body,
                                        bool* slow) {
    *slow = false;
    if (method == "GET" && path == u"/") {
        return indexReply();
    }
    if (method != "POST" || path != u"/JRADB/accessS") {
        return {404, html(QStringLiteral("Not Found"), QStringLiteral("Not Found\r\n"))};
    }
    // The window sends the body as code-page bytes without percent-encoding; a client that encodes
    // reads the same.
    const QString text = CodePage::decode(QByteArray::fromPercentEncoding(body));
    m_requests << text;
    const QStringList fields = text.split(u'&');
    const QString cname = fields.value(0).section(u'=', 1);
    const QString code = fields.value(1).section(u'=', 1);
    const bool shape = fields.size() == 2 && fields[0].startsWith(QStringLiteral("CNAME=")) &&
                       fields[1].startsWith(QStringLiteral("xW01=")) && allDigits(code);
    QString meeting;
    QString race;
    if (shape && cname == kFormPayoutList && code.size() == 10) {
        meeting = code;
    } else if (shape && cname == kFormResults && code.size() == 12 && code.right(2).toInt() >= 1 &&
               code.right(2).toInt() <= 12) {
        meeting = code.left(10);
        race = code.right(2);
    } else {
        return {400, html(QStringLiteral("Bad Request"), QStringLiteral("Bad Request\r\n"))};
    }

    switch (m_answers.value({meeting, race}, Answer::Page)) {
    case Answer::ErrorStatus:
        return {500, html(QStringLiteral("システムエラー"), QStringLiteral("ただいま混み合っております。\r\n"))};
    case Answer::UnknownPage:
        return {200, html(QStringLiteral("お知らせ"), QStringLiteral("ただいまメンテナンス中です。\r\n"))};
    case Answer::Slow:
        *slow = true;
        break;
    case Answer::Page:
        break;
    }
    return race.isEmpty() ? payoutListReply(meeting) : resultsReply(meeting, race);
}

ResultsSite::Reply ResultsSite::payoutListReply(const QString& meetingCode) const {
    const auto day = m_races.constFind(meetingCode);
    if (day == m_races.constEnd() || day->isEmpty()) {
        return {200, html(ResultPages::kPayoutListTitle,
                          ResultPages::joinLines(ResultPages::payoutListLines(dayOfCode(meetingCode), {})))};
    }
    const QList<ResultPages::RacePage> races = day->values(); // in race order
    return {200, html(ResultPages::kPayoutListTitle,
                      ResultPages::joinLines(ResultPages::payoutListLines(races.first().meeting, races)))};
}

ResultsSite::Reply ResultsSite::resultsReply(const QString& meetingCode, const QString& race) const {
    const auto day = m_races.constFind(meetingCode);
    if (day == m_races.constEnd() || !day->contains(race.toInt())) {
        // The site's own "no such race" page: a page of neither title.
        return {200, html(QStringLiteral("該当データなし"), QStringLiteral("該当するデータはありません。\r\n"))};
    }
    return {200, html(ResultPages::kResultsTitle,
                      ResultPages::joinLines(ResultPages::resultsPageLines(day->value(race.toInt()))))};
}

ResultsSite::Reply ResultsSite::indexReply() const {
    QStringList lines{QStringLiteral("結果サイト (POST /JRADB/accessS)"), QString()};
    for (auto day = m_races.constBegin(); day != m_races.constEnd(); ++day) {
        QStringList numbers;
        for (const int n : day.value().keys()) {
            numbers << Fmt::zeros(n, 2);
        }
        const ResultPages::MeetingDay& m = day.value().first().meeting;
        lines << QStringLiteral("%1 %2 %3回%4日: %5")
                     .arg(day.key(), m.venue)
                     .arg(m.kaiJi)
                     .arg(m.hiJi)
                     .arg(numbers.join(u' '));
    }
    return {200, html(QStringLiteral("結果サイト"), ResultPages::joinLines(lines))};
}
