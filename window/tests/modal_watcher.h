// Catches every modal box the window opens during a test, records it and
// closes it, so a test fails on an unexpected box instead of hanging on it.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

struct SeenMessage {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    QString text;
    QString informativeText;
};

class ModalWatcher {
public:
    ModalWatcher() {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] { closeModal(); });
        timer_.start();
    }

    // The boxes seen since the last call, oldest first.
    QList<SeenMessage> take() { return std::exchange(seen_, {}); }

private:
    void closeModal() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) {
            return;
        }
        SeenMessage message;
        if (const auto* box = qobject_cast<QMessageBox*>(modal)) {
            message = {box->icon(), box->windowTitle(), box->text(), box->informativeText()};
        } else {
            message.title = modal->windowTitle();
        }
        seen_.append(message);
        if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->done(QDialog::Accepted);
        } else {
            modal->close();
        }
    }

    QTimer timer_;
    QList<SeenMessage> seen_;
};
