#include "VersionDialog.h"

#include "Fonts.h"
#include "core/AppInfo.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

VersionDialog::VersionDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(AppInfo::title());
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    processLine = new QLabel(AppInfo::title(), this);
    processLine->setObjectName(QStringLiteral("productLine"));
    QFont big = Fonts::proportional(12);
    big.setBold(true);
    processLine->setFont(big);
    versionLine = new QLabel(AppInfo::versionText(), this);
    versionLine->setObjectName(QStringLiteral("versionLine"));
    versionLine->setFont(Fonts::proportional());
    userLine = new QLabel(QString(), this);
    userLine->setObjectName(QStringLiteral("userLine"));
    comOk = new QPushButton(QStringLiteral("OK"), this);
    comOk->setObjectName(QStringLiteral("okButton"));
    comOk->setDefault(true);
    connect(comOk, &QPushButton::clicked, this, &QDialog::accept);
    for (QLabel* l : {processLine, versionLine, userLine}) {
        l->setAlignment(Qt::AlignCenter);
        layout->addWidget(l);
    }
    layout->addWidget(comOk, 0, Qt::AlignCenter);
    setFixedSize(sizeHint().expandedTo(QSize(220, 0)));
}
