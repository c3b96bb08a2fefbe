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
    auto* productLine = new QLabel(AppInfo::title(), this);
    productLine->setObjectName(QStringLiteral("productLine"));
    QFont big = Fonts::proportional(12);
    big.setBold(true);
    productLine->setFont(big);
    auto* versionLine = new QLabel(AppInfo::versionText(), this);
    versionLine->setObjectName(QStringLiteral("versionLine"));
    versionLine->setFont(Fonts::proportional());
    auto* userLine = new QLabel(QString(), this);
    userLine->setObjectName(QStringLiteral("userLine"));
    auto* okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    for (QLabel* l : {productLine, versionLine, userLine}) {
        l->setAlignment(Qt::AlignCenter);
        layout->addWidget(l);
    }
    layout->addWidget(okButton, 0, Qt::AlignCenter);
    setFixedSize(sizeHint().expandedTo(QSize(220, 0)));
}
