#pragma once

class QWidget;

// The words on the training bar's picture buttons (start, the texts, the demonstration,
// learning again, the help videos), in the learner's language: the pictures carry none.
void captionBarButtons(QWidget *bar);
