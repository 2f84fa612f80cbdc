// SPDX-License-Identifier: BSD-2-Clause
#include "editor/AppDialog.h"

#include "desktop/DesktopFile.h"
#include "desktop/InstalledApps.h"
#include "editor/AppDelegate.h"
#include "editor/AppModel.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

AppDialog::AppDialog(QWidget *parent) : QDialog(parent), model(new AppModel(this))
{
    setWindowTitle(tr("Add Application"));
    createWidgets();
    connect(model, SIGNAL(loaded()), this, SLOT(catchLoaded()));
    model->load(InstalledApps::dataDirs(), DesktopFile::localeNames());
    updateStatus();
    catchSelectionChanged();
    resize(480, 520);
}

/* In the order that Tab follows: the filter, the list, the buttons. */
void AppDialog::createWidgets()
{
    filter = new QLineEdit(this);
    filter->setObjectName(QStringLiteral("filter"));
    filter->setAccessibleName(tr("Filter"));
    filter->setPlaceholderText(tr("A part of a name, a description or a command"));
    filter->setClearButtonEnabled(true);
    filter->installEventFilter(this);
    QLabel *filterLabel = new QLabel(tr("&Filter:"), this);
    filterLabel->setBuddy(filter);

    view = new QListView(this);
    view->setObjectName(QStringLiteral("applications"));
    view->setAccessibleName(tr("Installed applications"));
    view->setModel(model);
    view->setItemDelegate(new AppDelegate(view));
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int iconSide = style()->pixelMetric(QStyle::PM_LargeIconSize);
    view->setIconSize(QSize(iconSide, iconSide));
    // One row measured for all, and no icon loaded for it.
    view->setUniformItemSizes(true);
    QLabel *listLabel = new QLabel(tr("Installed a&pplications:"), this);
    listLabel->setBuddy(view);

    status = new QLabel(this);
    status->setObjectName(QStringLiteral("status"));

    QDialogButtonBox *buttons = new QDialogButtonBox(this);
    addButton = buttons->addButton(tr("&Add"), QDialogButtonBox::AcceptRole);
    addButton->setObjectName(QStringLiteral("addButton"));
    addButton->setDefault(true);
    QPushButton *cancelButton = buttons->addButton(tr("&Cancel"), QDialogButtonBox::RejectRole);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));

    QHBoxLayout *filterRow = new QHBoxLayout;
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(filter, 1);
    QVBoxLayout *layout = new QVBoxLayout;
    layout->addLayout(filterRow);
    layout->addWidget(listLabel);
    layout->addWidget(view, 1);
    layout->addWidget(status);
    layout->addWidget(buttons);
    setLayout(layout);

    connect(filter, SIGNAL(textChanged(const QString &)), this,
            SLOT(catchFilterChanged(const QString &)));
    connect(view->selectionModel(),
            SIGNAL(selectionChanged(const QItemSelection &, const QItemSelection &)), this,
            SLOT(catchSelectionChanged()));
    connect(view, SIGNAL(doubleClicked(const QModelIndex &)), this,
            SLOT(catchDoubleClicked(const QModelIndex &)));
    connect(buttons, SIGNAL(accepted()), this, SLOT(accept()));
    connect(buttons, SIGNAL(rejected()), this, SLOT(reject()));
    filter->setFocus(); // typing filters at once
}

QStringList AppDialog::selectedPaths() const
{
    QModelIndexList rows = view->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
    QStringList paths;
    for (const QModelIndex &row : qAsConst(rows))
        paths << row.data(AppModel::PathRole).toString();
    return paths;
}

const AppModel *AppDialog::applications() const
{
    return model;
}

/* The keys that move through the list work from the filter as well, with
 * Shift and Ctrl as in the list. */
bool AppDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == filter && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            QCoreApplication::sendEvent(view, event);
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void AppDialog::catchFilterChanged(const QString &text)
{
    model->setFilter(text);
    selectFirst();
    updateStatus();
}

void AppDialog::catchLoaded()
{
    selectFirst();
    updateStatus();
}

/* The list's selection goes with a new filter without a signal: the first
 * row is selected anew, and Add follows. */
void AppDialog::selectFirst()
{
    if (model->rowCount() > 0) {
        view->setCurrentIndex(model->index(0, 0));
        view->scrollToTop();
    }
    catchSelectionChanged();
}

void AppDialog::catchSelectionChanged()
{
    addButton->setEnabled(view->selectionModel()->hasSelection());
}

void AppDialog::catchDoubleClicked(const QModelIndex &index)
{
    if (index.isValid())
        accept();
}

void AppDialog::updateStatus()
{
    if (!model->isLoaded())
        status->setText(tr("Looking for the installed applications…"));
    else if (model->total() == 0)
        status->setText(tr("No installed application was found."));
    else if (model->rowCount() == 0)
        status->setText(tr("No application matches the filter."));
    else
        status->clear();
}
