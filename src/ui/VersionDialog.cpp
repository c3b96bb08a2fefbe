#include "VersionDialog.h"

#include "Fonts.h"
#include "core/AppInfo.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

VersionDialog::VersionDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(AppInfo::Title());
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    lblProc = new QLabel(AppInfo::Title(), this);
    QFont big = Fonts::Proportional(12);
    big.setBold(true);
    lblProc->setFont(big);
    lblVer = new QLabel(AppInfo::VersionText(), this);
    lblVer->setFont(Fonts::Proportional());
    lblUser = new QLabel(QString(), this);
    ComOK = new QPushButton(QStringLiteral("OK"), this);
    ComOK->setDefault(true);
    connect(ComOK, &QPushButton::clicked, this, &QDialog::accept);
    for (QLabel* l : {lblProc, lblVer, lblUser}) {
        l->setAlignment(Qt::AlignCenter);
        layout->addWidget(l);
    }
    layout->addWidget(ComOK, 0, Qt::AlignCenter);
    setFixedSize(sizeHint().expandedTo(QSize(220, 0)));
}
