#include "mainwindowfixture.h"

#include <QFile>
#include <QTest>

MainWindowFixture::MainWindowFixture(const QString &dayArgument, const QDateTime &now)
{
    fakes.clock.set(now);
    fakes.shell.documents = m_dir.path() + QStringLiteral("/Documents");
    m_form = std::make_unique<TForm1>(fakes.services(), StartOptions{root(), dayArgument});
}

MainWindowFixture::~MainWindowFixture()
{
    if (m_form && !m_form->closing())
        m_form->close();
}

void MainWindowFixture::start()
{
    m_form->show();
    m_form->Timer1Timer();
}

void MainWindowFixture::restart(const QString &dayArgument)
{
    m_form->close();
    m_form = std::make_unique<TForm1>(fakes.services(), StartOptions{root(), dayArgument});
    start();
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArrayLiteral("<missing>");
    return f.readAll();
}

void writeFileBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}
