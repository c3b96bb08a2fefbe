#pragma once

#include <QLabel>

// A label that acts as a button: a click, or Return or Space while it has the focus, emits clicked. Tab
// reaches it, so every cell that opens something can be used from the keyboard.
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickLabel(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
