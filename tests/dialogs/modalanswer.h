#pragma once
// Answers a modal dialog that a command is about to run: the answer runs
// once the dialog of the wanted class is the active modal widget.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

template <class Dialog> void AnswerModal(std::function<void(Dialog*)> answer, int triesLeft = 200)
{
    QTimer::singleShot(0, [answer, triesLeft] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            answer(dialog);
        } else if (triesLeft > 0) {
            AnswerModal<Dialog>(answer, triesLeft - 1);
        } else {
            // Never leave a test hanging on a dialog that did not answer.
            if (QWidget* other = QApplication::activeModalWidget())
                other->close();
        }
    });
}
