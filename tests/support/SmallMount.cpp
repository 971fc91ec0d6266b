#include "support/SmallMount.h"

#include <QProcess>

#include <unistd.h>

SmallMount::SmallMount(const QString& options)
{
    if (::geteuid() != 0 || !m_dir.isValid())
        return;
    m_mounted =
        QProcess::execute(QStringLiteral("mount"),
                          {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                           options, QStringLiteral("tmpfs"), m_dir.path()}) == 0;
}

SmallMount::~SmallMount()
{
    if (m_mounted)
        QProcess::execute(QStringLiteral("umount"), {m_dir.path()});
}
