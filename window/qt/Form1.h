// Quorvane's one window: the pointer calculator above the line, the
// word-to-hex encoder below it.
#pragma once

#include <QString>
#include <QWidget>
#include <memory>

#include "error_messages.h"

class QLineEdit;

namespace Ui {
class Form1;
}

class Form1 : public QWidget {
    Q_OBJECT

public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

public slots:
    void Calculate_Click();
    void Command1_Click();
    void Exit_Click();
    void Option1_Click();
    void Option2_Click();

protected:
    // Watches the application. When the desktop's palette changes, Qt tells
    // the application, not a window with a palette of its own, so the window
    // colours its captions again when the application hears of it. Enter on a
    // focused button presses it. A click on an option's caption clicks the
    // option, as the option's own caption would.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Colours the captions and the line so that they read on the platform's
    // current palette.
    void applyCaptionColours();

    // Runs a handler's work; any error is reported in a modal message, after
    // which the window goes on with `input` focused and its text selected.
    template <typename Work>
    void runReportingErrors(QLineEdit* input, Tool tool, Work&& work);

    std::unique_ptr<Ui::Form1> ui;
};
