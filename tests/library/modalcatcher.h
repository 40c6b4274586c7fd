#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

// Answers the modal dialogs the code under test opens, so a test never blocks on one:
// message boxes are confirmed and recorded, input dialogs get the prepared answer
// (or are cancelled when none is set).
class ModalCatcher : public QObject
{
public:
    ModalCatcher()
    {
        connect(&m_timer, &QTimer::timeout, this, &ModalCatcher::answer);
        m_timer.start(20);
    }

    void setInputAnswer(const QString &text) { m_inputAnswer = text; m_hasAnswer = true; }

    QStringList boxTitles;
    QStringList boxTexts;
    int inputDialogs = 0;

private:
    void answer()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            boxTitles << box->windowTitle();
            boxTexts << box->text();
            box->button(QMessageBox::Ok) ? box->button(QMessageBox::Ok)->click() : box->accept();
        } else if (auto *input = qobject_cast<QInputDialog *>(modal)) {
            ++inputDialogs;
            if (m_hasAnswer) {
                input->setTextValue(m_inputAnswer);
                input->accept();
            } else {
                input->reject();
            }
        }
    }

    QTimer m_timer;
    QString m_inputAnswer;
    bool m_hasAnswer = false;
};
