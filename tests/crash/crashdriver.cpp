// Drives the real main window on a data folder with edits that save all the
// time, until it is killed. Every text it types is self-checking: a header
// line with the length and checksum of the body, so a checker can tell a
// whole note from a torn one.
#include "app/tform1.h"
#include "calendar/notememo.h"
#include "calendar/tedit.h"
#include "calendar/tweek.h"
#include "fakes.h"
#include "platform/clock.h"

#include <QApplication>
#include <QRandomGenerator>
#include <QTimer>

#include <cstdio>

QString checkedText(quint32 serial, QRandomGenerator &random)
{
    const int length = static_cast<int>(random.bounded(1, 40000));
    QString body;
    body.reserve(length);
    for (int i = 0; i < length; ++i) {
        const quint32 r = random.bounded(64);
        body += r == 0 ? QChar(QLatin1Char('\n')) : QChar(static_cast<char16_t>(u'a' + r % 26));
    }
    const QByteArray bytes = body.toUtf8().replace("\n", "\r\n");
    return QStringLiteral("CHECK %1 %2 %3\n").arg(serial).arg(bytes.size()).arg(qChecksum(bytes)) + body;
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: crashdriver DATA_ROOT [SEED]\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]) + QLatin1Char('/');
    const quint32 seed = argc > 2 ? QString::fromLatin1(argv[2]).toUInt() : 1;
    QRandomGenerator random(seed);

    SystemClock clock;
    FakeShell shell;
    FakeDialogs dialogs; // no modal boxes: errors are recorded, questions answered No
    Services services{&clock, &shell, &dialogs, nullptr};
    TForm1 form(services, StartOptions{root, QStringLiteral("45296")});
    form.show();
    form.Timer1Timer();

    quint32 serial = seed * 100000;
    QTimer edits;
    QObject::connect(&edits, &QTimer::timeout, [&] {
        TWeek *week = form.Week;
        if (!week)
            return;
        TEdit *editor = week->EditorList.at(static_cast<int>(random.bounded(7)));
        editor->Memo1->selectAll();
        editor->Memo1->insertPlainText(checkedText(++serial, random));
        switch (random.bounded(3)) {
        case 0: week->SaveAllNotes(); break;
        case 1: form.RightClick(); break;
        default: form.LeftClick(); break;
        }
    });
    edits.start(0);
    std::fprintf(stdout, "ready\n");
    std::fflush(stdout);
    return app.exec();
}
