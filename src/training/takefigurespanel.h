#pragma once

#include "takelog.h"

#include <QWidget>

#include <array>
#include <optional>

// The practice set's account of a pass: for each of the five sentences the figures of its
// take in this pass, and beside every figure a small chart of that figure over passes 1 to
// 5, so a learner sees at a glance whether the pauses shrank. Read from the take log of the
// training folder; hovering a cell lists the figure pass by pass.
class TakeFiguresPanel : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kPasses = 5;
    static constexpr int kSentences = 5;

    explicit TakeFiguresPanel(QWidget *parent = nullptr);

    // Reads the log of trainDir and shows pass (1 to 5).
    void showPass(const QString &trainDir, int pass);
    // Reads the log again, after a take's figures were stored.
    void refresh();
    int pass() const { return m_pass; }
    QString trainDir() const { return m_trainDir; }
    // The figures as shown, for one sentence in one pass.
    std::optional<TakeFigures> figures(int pass, int sentence) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    struct Column;
    static const std::array<Column, 6> &columns();
    QRect cellRect(int row, int column) const;
    void paintCell(QPainter &painter, const QRect &cell, int sentence, const Column &column) const;
    QString cellToolTip(const QPoint &position) const;

    QString m_trainDir;
    int m_pass = 0;
    // [pass - 1][sentence - 1]
    std::array<std::array<std::optional<TakeFigures>, kSentences>, kPasses> m_figures;
};
