#pragma once

#include "resultsite/ResultPages.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QPair>
#include <QString>
#include <QStringList>

#include <memory>

// A stand-in for the racing authority's results site on the loopback interface, for the download
// window's tests and the demo: it answers the two form posts the window sends with pages built from
// plain race data, and can be told to answer a page slowly, with an error, or with a page of neither
// title, so every branch of a download run can be reached without the real site.
class ResultsSite : public QObject {
    Q_OBJECT
public:
    // How one race's results page (or a meeting's payout list) is answered.
    enum class Answer { Page, Slow, ErrorStatus, UnknownPage };

    explicit ResultsSite(QObject* parent = nullptr);
    ~ResultsSite() override;

    // The pages to serve: each race under its meeting day; a race added is published in its meeting's
    // payout list. A race added again replaces the earlier one.
    void addRace(const ResultPages::RacePage& race);
    // Every race with a result in a client data folder, read as the program reads it, as pages.
    static QList<ResultPages::RacePage> racesOfFolder(const QString& dataFolder);

    // Answer for one request: meetingCode (10 digits) and race "01".."12", or race "" for the payout list.
    void setAnswer(const QString& meetingCode, const QString& race, Answer answer);
    void setSlowMs(int ms);

    // Listens on 127.0.0.1 only, on a free port (or the given one); false when it cannot.
    bool listen();
    bool listen(quint16 port);
    // "http://127.0.0.1:<port>"; empty before Listen succeeded.
    QString base() const;

    // The request bodies received, decoded, in order.
    QStringList requests() const;

    // The ten-digit meeting code of a meeting day, as the download window forms it.
    static QString meetingCode(const ResultPages::MeetingDay& day);

private:
    class Server;
    friend class Server;

    struct Reply {
        int status = 200;
        QByteArray html;
    };
    // The reply to one request and whether it is to be held back.
    Reply respond(const QByteArray& method, const QString& path, const QByteArray& body, bool* slow);
    Reply payoutListReply(const QString& meetingCode) const;
    Reply resultsReply(const QString& meetingCode, const QString& race) const;
    Reply indexReply() const;

    std::unique_ptr<Server> m_server;
    quint16 m_port = 0;
    int m_slowMs = 60000;
    // By meeting code, then race number.
    QMap<QString, QMap<int, ResultPages::RacePage>> m_races;
    QMap<QPair<QString, QString>, Answer> m_answers;
    QStringList m_requests;
};
