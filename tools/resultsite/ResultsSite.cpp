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

QByteArray Html(const QString& title, const QString& text) {
    // Everything stays inside one <pre>: the browser renders and copies it verbatim, so the text the
    // window takes from the page is exactly the builder's lines.
    const QString html = QStringLiteral("<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"Shift_JIS\">\n"
                                        "<title>%1</title>\n</head>\n<body>\n<pre>%2</pre>\n</body>\n</html>\n")
                             .arg(title.toHtmlEscaped(), text.toHtmlEscaped());
    return CodePage::Encode(html);
}

bool AllDigits(QStringView text) {
    for (const QChar c : text) {
        if (c < u'0' || c > u'9') {
            return false;
        }
    }
    return true;
}

QByteArray ReasonPhrase(int status) {
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
void WriteReply(QTcpSocket* socket, int status, const QByteArray& html) {
    QByteArray reply = "HTTP/1.1 " + QByteArray::number(status) + ' ' + ReasonPhrase(status) + "\r\n";
    reply += "Content-Type: text/html; charset=Shift_JIS\r\n";
    reply += "Content-Length: " + QByteArray::number(html.size()) + "\r\n";
    reply += "Connection: close\r\n\r\n";
    reply += html;
    socket->write(reply);
    socket->disconnectFromHost();
}

// The meeting day a code names, for a meeting the site holds no race of: the date is today's.
ResultPages::MeetingDay DayOfCode(const QString& code) {
    ResultPages::MeetingDay day;
    day.Venue = KaisaiName(static_cast<qint16>(code.left(2).toInt()));
    day.Year = code.mid(2, 4).toInt();
    day.KaiJi = code.mid(6, 2).toInt();
    day.HiJi = code.mid(8, 2).toInt();
    const QDate today = QDate::currentDate();
    day.Month = today.month();
    day.Day = today.day();
    day.Weekday = Dates::WeekdayMark(today).mid(1, 1);
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
        const Reply reply = m_site->Respond(method, request.url().path(), request.body(), &slow);
        if (!slow) {
            WriteReply(socket, reply.Status, reply.Html);
            return true;
        }
        const QPointer<QTcpSocket> guard(socket);
        QTimer::singleShot(m_site->m_slowMs, m_site, [guard, reply] {
            if (guard && guard->state() == QAbstractSocket::ConnectedState) {
                WriteReply(guard, reply.Status, reply.Html);
            }
        });
        return true;
    }
    void missingHandler(const QHttpServerRequest&, QTcpSocket* socket) override {
        WriteReply(socket, 404, Html(QStringLiteral("Not Found"), QStringLiteral("Not Found\r\n")));
    }

private:
    ResultsSite* m_site;
};

ResultsSite::ResultsSite(QObject* parent) : QObject(parent), m_server(std::make_unique<Server>(this)) {}

ResultsSite::~ResultsSite() = default;

QString ResultsSite::MeetingCode(const ResultPages::MeetingDay& day) {
    return Fmt::Zeros(KaisaiCode(day.Venue), 2) + Fmt::Zeros(day.Year, 4) + Fmt::Zeros(day.KaiJi, 2) +
           Fmt::Zeros(day.HiJi, 2);
}

void ResultsSite::AddRace(const ResultPages::RacePage& race) {
    m_races[MeetingCode(race.Meeting)][race.RaceNum] = race;
}

void ResultsSite::setAnswer(const QString& meetingCode, const QString& race, Answer answer) {
    m_answers[{meetingCode, race}] = answer;
}

void ResultsSite::setSlowMs(int ms) {
    m_slowMs = qMax(0, ms);
}

bool ResultsSite::Listen() {
    return Listen(0);
}

bool ResultsSite::Listen(quint16 port) {
    const quint16 bound = m_server->listen(QHostAddress(QHostAddress::LocalHost), port);
    if (bound == 0) {
        return false;
    }
    m_port = bound;
    return true;
}

QString ResultsSite::Base() const {
    return m_port == 0 ? QString() : QStringLiteral("http://127.0.0.1:%1").arg(m_port);
}

QStringList ResultsSite::Requests() const {
    return m_requests;
}

ResultsSite::Reply ResultsSite::Respond(const QByteArray& method, const QString& path, const QByteArray& body,
                                        bool* slow) {
    *slow = false;
    if (method == "GET" && path == u"/") {
        return IndexReply();
    }
    if (method != "POST" || path != u"/JRADB/accessS") {
        return {404, Html(QStringLiteral("Not Found"), QStringLiteral("Not Found\r\n"))};
    }
    // The window sends the body as code-page bytes without percent-encoding; a client that encodes
    // reads the same.
    const QString text = CodePage::Decode(QByteArray::fromPercentEncoding(body));
    m_requests << text;
    const QStringList fields = text.split(u'&');
    const QString cname = fields.value(0).section(u'=', 1);
    const QString code = fields.value(1).section(u'=', 1);
    const bool shape = fields.size() == 2 && fields[0].startsWith(QStringLiteral("CNAME=")) &&
                       fields[1].startsWith(QStringLiteral("xW01=")) && AllDigits(code);
    QString meeting;
    QString race;
    if (shape && cname == kFormPayoutList && code.size() == 10) {
        meeting = code;
    } else if (shape && cname == kFormResults && code.size() == 12 && code.right(2).toInt() >= 1 &&
               code.right(2).toInt() <= 12) {
        meeting = code.left(10);
        race = code.right(2);
    } else {
        return {400, Html(QStringLiteral("Bad Request"), QStringLiteral("Bad Request\r\n"))};
    }

    switch (m_answers.value({meeting, race}, Answer::Page)) {
    case Answer::ErrorStatus:
        return {500, Html(QStringLiteral("システムエラー"), QStringLiteral("ただいま混み合っております。\r\n"))};
    case Answer::UnknownPage:
        return {200, Html(QStringLiteral("お知らせ"), QStringLiteral("ただいまメンテナンス中です。\r\n"))};
    case Answer::Slow:
        *slow = true;
        break;
    case Answer::Page:
        break;
    }
    return race.isEmpty() ? PayoutListReply(meeting) : ResultsReply(meeting, race);
}

ResultsSite::Reply ResultsSite::PayoutListReply(const QString& meetingCode) const {
    const auto day = m_races.constFind(meetingCode);
    if (day == m_races.constEnd() || day->isEmpty()) {
        return {200, Html(ResultPages::kPayoutListTitle,
                          ResultPages::JoinLines(ResultPages::PayoutListLines(DayOfCode(meetingCode), {})))};
    }
    const QList<ResultPages::RacePage> races = day->values(); // in race order
    return {200, Html(ResultPages::kPayoutListTitle,
                      ResultPages::JoinLines(ResultPages::PayoutListLines(races.first().Meeting, races)))};
}

ResultsSite::Reply ResultsSite::ResultsReply(const QString& meetingCode, const QString& race) const {
    const auto day = m_races.constFind(meetingCode);
    if (day == m_races.constEnd() || !day->contains(race.toInt())) {
        // The site's own "no such race" page: a page of neither title.
        return {200, Html(QStringLiteral("該当データなし"), QStringLiteral("該当するデータはありません。\r\n"))};
    }
    return {200, Html(ResultPages::kResultsTitle,
                      ResultPages::JoinLines(ResultPages::ResultsPageLines(day->value(race.toInt()))))};
}

ResultsSite::Reply ResultsSite::IndexReply() const {
    QStringList lines{QStringLiteral("結果サイト (POST /JRADB/accessS)"), QString()};
    for (auto day = m_races.constBegin(); day != m_races.constEnd(); ++day) {
        QStringList numbers;
        for (const int n : day.value().keys()) {
            numbers << Fmt::Zeros(n, 2);
        }
        const ResultPages::MeetingDay& m = day.value().first().Meeting;
        lines << QStringLiteral("%1 %2 %3回%4日: %5")
                     .arg(day.key(), m.Venue)
                     .arg(m.KaiJi)
                     .arg(m.HiJi)
                     .arg(numbers.join(u' '));
    }
    return {200, Html(QStringLiteral("結果サイト"), ResultPages::JoinLines(lines))};
}
