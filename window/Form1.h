// Quorvane's one window: the pointer calculator above the line, the
// word-to-hex encoder below it.
#pragma once

#include <QString>
#include <QWidget>
#include <memory>

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

    // The window's background: system colour 19 (inactive caption text)
    // where the platform has one, the picture's own light blue elsewhere.
    static QColor backgroundColour();

public slots:
    void Calculate_Click();
    void Command1_Click();
    void Exit_Click();
    void Option1_Click();
    void Option2_Click();

private:
    // Runs a handler's work; any error is reported in a modal message, after
    // which the window goes on with `input` focused and its text selected.
    template <typename Work>
    void runReportingErrors(QLineEdit* input, const QString& overflowHint, Work&& work);
    void reportError(QLineEdit* input, const QString& message, const QString& hint);

    std::unique_ptr<Ui::Form1> ui;
};
