// SPDX-License-Identifier: BSD-2-Clause
#ifndef STATUSBAR_H
#define STATUSBAR_H

#include <QStatusBar>

/*
 * A status bar whose message is never cut without a sign: a message wider
 * than the bar ends in "…" and shows whole as the bar's tool tip.  A screen
 * reader hears every message as the bar's name.
 */
class StatusBar : public QStatusBar
{
    Q_OBJECT

public:
    explicit StatusBar(QWidget *parent = nullptr);

    /* Whether the message shown now is cut short. */
    bool elided() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private slots:
    void catchMessageChanged(const QString &message);

private:
    QRect messageRect() const;
    void updateToolTip();
};

#endif // STATUSBAR_H
