// A fresh, active Form1 for each test, its controls found by name, and a
// watcher that fails the test on any message box it did not expect.
#pragma once

#include <QLineEdit>
#include <QObject>
#include <QtTest>
#include <memory>

#include "Form1.h"
#include "modal_watcher.h"

class FormFixture : public QObject {
    Q_OBJECT

protected:
    std::unique_ptr<Form1> form;
    std::unique_ptr<ModalWatcher> watcher;

    template <typename T = QWidget>
    T* control(const char* name) const {
        auto* widget = form->findChild<T*>(QString::fromLatin1(name));
        if (widget == nullptr) {
            qFatal("no control %s", name);
        }
        return widget;
    }
    QLineEdit* box(const char* name) const { return control<QLineEdit>(name); }
    void click(const char* name) const { QTest::mouseClick(control(name), Qt::LeftButton); }

private slots:
    void init() {
        watcher = std::make_unique<ModalWatcher>();
        form = std::make_unique<Form1>();
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }

    void cleanup() {
        form.reset();
        const QList<SeenMessage> unexpected = watcher->take();
        QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.value(0).text));
    }
};
