// SPDX-License-Identifier: BSD-2-Clause
#include "editor/RowDelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QStyle>
#include <QVariant>

#include <cmath>
#include <limits>

static const QChar lineFeedSign(0x23CE); // the return symbol
static const QChar ellipsis(0x2026);

RowDelegate::RowDelegate(QObject *parent) : QStyledItemDelegate(parent) { }

RowDelegate::~RowDelegate() = default;

/* Lines that a row's editor of several lines shows at most before it scrolls. */
static const int editorLinesAtMost = 12;

static bool hasLineFeed(const QString &text)
{
    return text.contains(QLatin1Char('\n'));
}

/* At most shownLength characters of text, an ellipsis after them, never
 * half a character. */
static QString cutShort(const QString &text)
{
    int length = qMin(text.size(), RowDelegate::shownLength);
    if (length < text.size() && text.at(length - 1).isHighSurrogate())
        length--;
    QString shown = text.left(length);
    if (length < text.size())
        shown += ellipsis;
    return shown;
}

/*
 * A row's text as the row shows it: one line, no more than shownLength
 * characters, an ellipsis after them; a command over several lines shows
 * its first and how many lines it has.  Laying out a text costs as much as
 * the text is long, and the style lays out the whole text to paint or
 * measure a row even where it shows a piece of it, so a row of some
 * megabytes would hold up every key that moves onto it.  Only the display
 * is cut: the row's data, which the editor gets and an edit is compared
 * with, keeps the whole text.
 */
QString RowDelegate::displayText(const QVariant &value, const QLocale &locale) const
{
    if (value.userType() != QMetaType::QString)
        return QStyledItemDelegate::displayText(value, locale);
    const QString text = value.toString();
    const int lines = knownLines > 0 ? knownLines : text.count(QLatin1Char('\n')) + 1;
    return lines == 1 ? cutShort(text) : severalLines(text, lines);
}

/* The first line of a command of several, and how many it has. */
QString RowDelegate::severalLines(const QString &text, int lines) const
{
    return cutShort(text.left(text.indexOf(QLatin1Char('\n')))) + ' ' + lineFeedSign + ' '
        + ellipsis + ' ' + tr("(%n lines)", nullptr, lines);
}

/* A line editor takes 32767 characters unless told otherwise, and would cut
 * a longer text as it opens: closed unchanged, it would still change the
 * row.  A command over several lines gets an editor of several lines. */
QWidget *RowDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                   const QModelIndex &index) const
{
    if (hasLineFeed(index.data(Qt::DisplayRole).toString())) {
        QPlainTextEdit *text = new QPlainTextEdit(parent);
        text->setLineWrapMode(QPlainTextEdit::NoWrap);
        text->setFrameShape(QFrame::Box);
        text->setAccessibleName(tr("Command"));
        return text;
    }
    QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (QLineEdit *line = qobject_cast<QLineEdit *>(editor))
        line->setMaxLength(std::numeric_limits<int>::max());
    editor->setAccessibleName(tr("Command"));
    return editor;
}

/*
 * The editor of several lines is taller than its row: as many lines as
 * the command has, up to a limit, and within the list, moved up where the
 * row is near its bottom.
 */
void RowDelegate::updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                                       const QModelIndex &index) const
{
    QPlainTextEdit *text = qobject_cast<QPlainTextEdit *>(editor);
    if (!text) {
        QStyledItemDelegate::updateEditorGeometry(editor, option, index);
        return;
    }
    QStyledItemDelegate::updateEditorGeometry(editor, option, index);
    const int lines = qMin(index.data(Qt::DisplayRole).toString().count(QLatin1Char('\n')) + 2,
                           editorLinesAtMost);
    const QMargins margins = text->contentsMargins();
    QRect rect = editor->geometry();
    rect.setHeight(lines * text->fontMetrics().lineSpacing() + margins.top() + margins.bottom()
                   + 2 * int(text->document()->documentMargin()));
    const QWidget *area = editor->parentWidget();
    if (area && rect.bottom() > area->height())
        rect.moveBottom(qMax(rect.height() - 1, area->height() - 1));
    editor->setGeometry(rect);
}

/*
 * Ctrl+Enter commits the editor of several lines, where Enter starts a
 * new line.  Tab and Shift+Tab commit a row's editor and go on to the
 * control after the list or before it, as in a form; Ctrl+Tab types a tab
 * into an editor of several lines.  The rest is the editor's and the base
 * class's.
 */
bool RowDelegate::eventFilter(QObject *object, QEvent *event)
{
    QWidget *editor = qobject_cast<QWidget *>(object);
    if (!editor || event->type() != QEvent::KeyPress)
        return QStyledItemDelegate::eventFilter(object, event);
    const QKeyEvent *key = static_cast<const QKeyEvent *>(event);
    QPlainTextEdit *text = qobject_cast<QPlainTextEdit *>(editor);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (text && enter && (key->modifiers() & Qt::ControlModifier)) {
        emit commitData(text);
        emit closeEditor(text, QAbstractItemDelegate::NoHint);
        return true;
    }
    if (text && key->key() == Qt::Key_Tab && (key->modifiers() & Qt::ControlModifier)) {
        text->insertPlainText(QStringLiteral("\t"));
        return true;
    }
    if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
        && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        QWidget *view = qobject_cast<QWidget *>(parent());
        const bool back = key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
        emit commitData(editor);
        emit closeEditor(editor, QAbstractItemDelegate::NoHint);
        // The list hands the key on to the focus chain.
        if (view) {
            QKeyEvent tab(QEvent::KeyPress, back ? Qt::Key_Backtab : Qt::Key_Tab,
                          back ? Qt::ShiftModifier : Qt::NoModifier);
            QApplication::sendEvent(view, &tab);
        }
        return true;
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

/* The contrast between two colours, as WCAG counts it: 1 to 21. */
static double contrast(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &c) {
        const auto channel = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF())
            + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

/*
 * The style draws the current row's focus as a faint dotted frame; the row
 * gets one of two pixels instead, in a colour that stands out at least 3:1
 * from the row's own background.
 */
void RowDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                        const QModelIndex &index) const
{
    QStyleOptionViewItem opt = option;
    const bool focus = opt.state & QStyle::State_HasFocus;
    opt.state &= ~QStyle::State_HasFocus;
    QStyledItemDelegate::paint(painter, opt, index);
    if (!focus)
        return;
    const bool selected = opt.state & QStyle::State_Selected;
    const QPalette::ColorGroup group
        = opt.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
    const QColor background
        = opt.palette.color(group, selected ? QPalette::Highlight : QPalette::Base);
    QColor frame
        = opt.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Highlight);
    if (contrast(frame, background) < 3.0)
        frame = opt.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
    if (contrast(frame, background) < 3.0)
        frame = contrast(Qt::black, background) > contrast(Qt::white, background) ? Qt::black
                                                                                  : Qt::white;
    painter->save();
    painter->setPen(QPen(frame, 2));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(QRectF(opt.rect).adjusted(1, 1, -1, -1));
    painter->restore();
}

QRect RowDelegate::checkRect(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    if (!(opt.features & QStyleOptionViewItem::HasCheckIndicator))
        return QRect();
    const QWidget *widget = opt.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    return style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, widget);
}

/*
 * A row without an icon still has one as far as the layout goes: the style
 * sets the text, and the editor, to the right of an icon of the view's icon
 * size, and paints nothing there, as the icon is null.
 */
void RowDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    // A row that says how many lines its command has is shown without a
    // look at all of its text, which may be megabytes long.
    const QVariant lines = index.data(LinesRole);
    knownLines = lines.isValid() ? lines.toInt() : 0;
    QStyledItemDelegate::initStyleOption(option, index);
    knownLines = 0;
    // A selected row looks otherwise while the list does not have the
    // focus: the palette's inactive colours, which the list sets.
    if (option->widget && !option->widget->hasFocus())
        option->state &= ~QStyle::State_Active;
    option->features |= QStyleOptionViewItem::HasDecoration;
}

/*
 * A row's mark and tool tip change while its editor may be open, and the
 * view then hands the row's data to the editor again: the editor gets the
 * row's text once, when it opens, so that what the user typed stays.
 */
void RowDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    static const char filled[] = "qvxFilled";

    if (editor->property(filled).toBool())
        return;
    QStyledItemDelegate::setEditorData(editor, index);
    editor->setProperty(filled, true);
}
