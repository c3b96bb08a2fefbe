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
    QFont big = Fonts::proportional(12);
    big.setBold(true);
    processLine->setFont(big);
    versionLine = new QLabel(AppInfo::versionText(), this);
    versionLine->setFont(Fonts::proportional());
    userLine = new QLabel(QString(), this);
    comOk = new QPushButton(QStringLiteral("OK"), this);
    comOk->setDefault(true);
    connect(comOk, &QPushButton::clicked, this, &QDialog::accept);
    for (QLabel* l : {processLine, versionLine, userLine}) {
        l->setAlignment(Qt::AlignCenter);
        layout->addWidget(l);
    }
    layout->addWidget(comOk, 0, Qt::AlignCenter);
    setFixedSize(sizeHint().expandedTo(QSize(220, 0)));
}
