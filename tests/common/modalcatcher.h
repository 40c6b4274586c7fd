#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

// Answers the modal dialogs the code under test opens, so that a test never blocks on one.
// A message box is recorded by its text, marked "(unreadable) " when no pixel of its text
// stands out from the background (a box drawn black on black), and confirmed - or declined,
// with confirm false; an input dialog gets inputAnswer, or is cancelled when that is null.
class ModalCatcher : public QObject
{
public:
    ModalCatcher()
    {
        connect(&m_timer, &QTimer::timeout, this, &ModalCatcher::answer);
        m_timer.start(20);
    }

    QStringList boxTexts;
    bool confirm = true;
    QString inputAnswer;
    int inputDialogs = 0;

private:
    static bool readable(const QImage &text)
    {
        int darkest = 255, lightest = 0;
        for (int i = 0; i < text.width() * text.height(); ++i) {
            darkest = qMin(darkest, qGray(text.pixel(i % text.width(), i / text.width())));
            lightest = qMax(lightest, qGray(text.pixel(i % text.width(), i / text.width())));
        }
        return lightest - darkest > 100;
    }

    void answer()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            const bool legible
                = readable(box->findChild<QLabel *>("qt_msgbox_label")->grab().toImage());
            boxTexts << (legible ? QString() : QStringLiteral("(unreadable) ")) + box->text();
            QAbstractButton *choice = box->buttons().value(0);
            for (QAbstractButton *button : box->buttons()) {
                if ((box->buttonRole(button) == QMessageBox::RejectRole) != confirm)
                    choice = button;
            }
            choice->click();
        } else if (auto *input = qobject_cast<QInputDialog *>(modal)) {
            ++inputDialogs;
            input->setTextValue(inputAnswer);
            inputAnswer.isNull() ? input->reject() : input->accept();
        }
    }

    QTimer m_timer;
};
