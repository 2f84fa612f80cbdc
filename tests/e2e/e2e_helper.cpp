// SPDX-License-Identifier: BSD-2-Clause
/*
 * The end-to-end tests' own X client, in two roles:
 *
 *   e2e_helper drag X Y FILE...
 *       Shows a small window at X,Y.  A mouse press in it starts a real drag
 *       that carries the files as a text/uri-list.  When the drag ends it
 *       prints "drag: copy" (or "drag: ignore" ...), serves the data to the
 *       target for ten seconds and exits, 0 when the drop was taken, 3 when
 *       it was refused.
 *
 *   e2e_helper shot OUT.png X Y W H
 *       Grabs the whole screen into OUT.png (the run's artifact) and reads
 *       the main window found at X,Y W by H in it: where the list, its rows
 *       and check boxes and the button column are, which boxes are checked,
 *       and whether the status bar shows a message.  Prints shell
 *       assignments for the driver to eval.  The program under test is only
 *       looked at, never asked.
 *
 *   e2e_helper status OUT.png X Y W H TEXT
 *       Grabs the screen as shot does and tells whether the main window's
 *       status bar shows TEXT: a status bar of the window's width, drawn
 *       here with TEXT in the same style and font, must look the same pixel
 *       for pixel.  Prints status_match=1 or 0 and how many pixels differ.
 */
#include <QApplication>
#include <QByteArray>
#include <QCryptographicHash>
#include <QDrag>
#include <QImage>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QStatusBar>
#include <QTextStream>
#include <QTimer>
#include <QVector>

#include <cstdio>
#include <cstdlib>

namespace {

class DragSource : public QLabel
{
public:
    explicit DragSource(const QByteArray &uris) : uris(uris)
    {
        setText(QStringLiteral("drag source"));
        setAlignment(Qt::AlignCenter);
        setWindowTitle(QStringLiteral("qvx-e2e-drag"));
        resize(160, 120);
    }

protected:
    void mousePressEvent(QMouseEvent *) override
    {
        auto *data = new QMimeData;
        data->setData(QStringLiteral("text/uri-list"), uris);
        auto *drag = new QDrag(this);
        drag->setMimeData(data);
        Qt::DropAction action = drag->exec(Qt::CopyAction);
        const char *name = action == Qt::CopyAction ? "copy"
            : action == Qt::IgnoreAction            ? "ignore"
                                                    : "other";
        std::printf("drag: %s\n", name);
        std::fflush(stdout);
        // The target fetches the data only after the drop, from us: stay
        // a while to serve it.
        int status = action == Qt::IgnoreAction ? 3 : 0;
        QTimer::singleShot(10000, [status] { QApplication::exit(status); });
    }

private:
    QByteArray uris;
};

int runDrag(int argc, char **argv)
{
    // Written by hand, CR LF as RFC 2483 has it and percent-encoded as file
    // managers send paths, so that the bytes on the wire are exactly these
    // and not a re-encoding of QUrl's.
    QByteArray uris;
    for (int i = 4; i < argc; i++)
        uris.append("file://").append(QByteArray(argv[i]).toPercentEncoding("/")).append("\r\n");
    DragSource source(uris);
    source.move(std::atoi(argv[2]), std::atoi(argv[3]));
    source.show();
    return QApplication::exec();
}

bool isGrey(QRgb p, int lo, int hi)
{
    int r = qRed(p), g = qGreen(p), b = qBlue(p);
    return qAbs(r - g) < 12 && qAbs(g - b) < 12 && r >= lo && r <= hi;
}

bool isWhite(QRgb p)
{
    return (p & 0xffffff) == 0xffffff;
}

QString joined(const QVector<int> &v)
{
    QString s;
    for (int x : v)
        s += (s.isEmpty() ? "" : " ") + QString::number(x);
    return s;
}

/* Runs of pixels along column x, y0..y1, for which test holds. */
template<typename Test>
QVector<QPair<int, int>> columnRuns(const QImage &img, int x, int y0, int y1, Test test)
{
    QVector<QPair<int, int>> runs;
    int start = -1;
    for (int y = y0; y <= y1 + 1; y++) {
        bool on = y <= y1 && test(img.pixel(x, y));
        if (on && start < 0)
            start = y;
        if (!on && start >= 0) {
            runs.append({ start, y - 1 });
            start = -1;
        }
    }
    return runs;
}

void analyse(const QImage &img, QTextStream &out)
{
    const int w = img.width(), h = img.height();
    out << "win_w=" << w << "\nwin_h=" << h << "\n";

    // The list's viewport: the only wide area of pure base colour.
    int lx0 = w, lx1 = -1, ly0 = -1, ly1 = -1;
    for (int y = 0; y < h; y++) {
        int best = 0, bestStart = 0, run = 0;
        for (int x = 0; x <= w; x++) {
            if (x < w && isWhite(img.pixel(x, y))) {
                run++;
                if (run > best) {
                    best = run;
                    bestStart = x - run + 1;
                }
            } else {
                run = 0;
            }
        }
        if (best < 100)
            continue;
        if (ly0 < 0)
            ly0 = y;
        ly1 = y;
        lx0 = qMin(lx0, bestStart);
        lx1 = qMax(lx1, bestStart + best - 1);
    }
    if (ly0 < 0) {
        out << "list_found=0\n";
        return;
    }
    // Rows that are current or selected are not white across: grow the
    // area along its left edge up to the frame.
    auto inside = [&](int y) { return y >= 0 && y < h && qGray(img.pixel(lx0, y)) > 0xe0; };
    while (inside(ly0 - 1))
        ly0--;
    while (inside(ly1 + 1))
        ly1++;
    out << "list_found=1\nlist_x0=" << lx0 << "\nlist_y0=" << ly0 << "\nlist_x1=" << lx1
        << "\nlist_y1=" << ly1 << "\n";

    // Check boxes: the leftmost column inside the viewport that holds grey
    // outline; each vertical run of it is the left edge of one indicator.
    auto outline = [](QRgb p) { return isGrey(p, 0x90, 0xd8); };
    int cx = -1;
    for (int x = lx0; x < qMin(lx0 + 40, lx1) && cx < 0; x++) {
        for (auto r : columnRuns(img, x, ly0, ly1, outline))
            if (r.second - r.first >= 7)
                cx = x;
    }
    QVector<int> rowY, rowOn, rowMark;
    int boxH = 0;
    if (cx >= 0) {
        for (auto r : columnRuns(img, cx, ly0, ly1, outline)) {
            if (r.second - r.first < 7)
                continue;
            boxH = r.second - r.first + 1;
            rowY.append((r.first + r.second) / 2);
            // A check mark is dark ink inside the box.
            int ink = 0;
            for (int y = r.first + 2; y <= r.second - 2; y++)
                for (int x = cx + 2; x < cx + boxH - 2; x++)
                    ink += qGray(img.pixel(x, y)) < 0x80;
            rowOn.append(ink > 4 ? 1 : 0);
            // A warning icon is the only warm colour in a row: the text is
            // black, a selected row blue.
            int warm = 0;
            for (int y = r.first; y <= r.second; y++)
                for (int x = cx + boxH; x <= lx1; x++) {
                    const QRgb p = img.pixel(x, y);
                    warm += qRed(p) > 0xa0 && qRed(p) - qBlue(p) > 0x50;
                }
            rowMark.append(warm > 20 ? 1 : 0);
        }
    }
    out << "rows=" << rowY.size() << "\nrow_y=\"" << joined(rowY) << "\"\nrow_on=\""
        << joined(rowOn) << "\"\nrow_mark=\"" << joined(rowMark) << "\"\n";
    if (cx >= 0)
        out << "check_x=" << cx + boxH / 2 << "\ntext_x=" << cx + boxH + 30 << "\n";

    // The button column right of the list: along a line just inside the
    // buttons' right edges, each button is a pair of outline pixels.
    int bx = w - 15 - 4;
    QVector<int> btnY;
    auto edge = [](QRgb p) { return isGrey(p, 0x80, 0xcc); };
    auto edges = columnRuns(img, bx, qMax(0, ly0 - 10), qMin(h - 1, ly1 + 10), edge);
    for (int i = 0; i + 1 < edges.size(); i++) {
        int top = edges[i].second, bottom = edges[i + 1].first;
        if (bottom - top >= 12) {
            btnY.append((top + bottom) / 2);
            i++;
        }
    }
    out << "btn_x=" << bx - 20 << "\nbtn_y=\"" << joined(btnY) << "\"\n";

    // The status bar: the bottom strip, less the size grip at the right.
    QRect status(2, h - 20, w - 30, 18);
    int ink = 0;
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (int y = status.top(); y <= status.bottom(); y++)
        for (int x = status.left(); x <= status.right(); x++) {
            QRgb p = img.pixel(x, y);
            ink += qGray(p) < 0x90;
            hash.addData(reinterpret_cast<const char *>(&p), sizeof p);
        }
    out << "status_ink=" << ink << "\nstatus_sum=" << hash.result().toHex().left(16) << "\n";
}

/* How many pixels of a differ from those of b, images of one size. */
int differingPixels(const QImage &a, const QImage &b)
{
    int n = 0;
    for (int y = 0; y < a.height(); y++)
        for (int x = 0; x < a.width(); x++)
            n += (a.pixel(x, y) & 0xffffff) != (b.pixel(x, y) & 0xffffff);
    return n;
}

QImage grabScreen(const char *out)
{
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return QImage();
    QImage full = screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    if (full.isNull() || !full.save(QString::fromLocal8Bit(out)))
        return QImage();
    return full;
}

int runStatus(char **argv)
{
    const QImage full = grabScreen(argv[2]);
    if (full.isNull()) {
        std::fprintf(stderr, "e2e_helper: cannot grab or save %s\n", argv[2]);
        return 1;
    }
    const QImage win = full.copy(
        QRect(std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]), std::atoi(argv[6])));
    QStatusBar bar;
    bar.resize(win.width(), bar.sizeHint().height());
    bar.showMessage(QString::fromUtf8(argv[7]));
    const QImage want = bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
    // The size grip at the right is left out.
    const int h = want.height(), w = win.width() - 30;
    const int differing
        = differingPixels(want.copy(QRect(2, 0, w, h)), win.copy(QRect(2, win.height() - h, w, h)));
    QTextStream out(stdout);
    out << "status_match=" << (differing == 0 ? 1 : 0) << "\nstatus_differing=" << differing
        << "\n";
    return 0;
}

int runShot(char **argv)
{
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen) {
        std::fprintf(stderr, "e2e_helper: no screen\n");
        return 1;
    }
    QImage full = screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    if (full.isNull() || !full.save(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "e2e_helper: cannot grab or save %s\n", argv[2]);
        return 1;
    }
    QRect win(std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]), std::atoi(argv[6]));
    QTextStream out(stdout);
    analyse(full.copy(win), out);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QByteArray cmd = argc > 1 ? argv[1] : "";
    if (cmd == "drag" && argc >= 5)
        return runDrag(argc, argv);
    if (cmd == "shot" && argc == 7)
        return runShot(argv);
    if (cmd == "status" && argc == 8)
        return runStatus(argv);
    std::fprintf(stderr,
                 "usage: e2e_helper drag X Y FILE...\n"
                 "       e2e_helper shot OUT.png X Y W H\n"
                 "       e2e_helper status OUT.png X Y W H TEXT\n");
    return 2;
}
