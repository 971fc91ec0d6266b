#pragma once

#include <QString>
#include <QTemporaryDir>

// A small file system of its own (tmpfs with the given mount options, such as
// "size=48k" or "size=64k,ro"), mounted on a fresh temporary folder for the
// life of the object. Only root can mount: isValid() is false otherwise, and a
// test that needs a real full or read-only disk skips.
class SmallMount final
{
public:
    explicit SmallMount(const QString& options);
    ~SmallMount();
    SmallMount(const SmallMount&) = delete;
    SmallMount& operator=(const SmallMount&) = delete;

    bool isValid() const { return m_mounted; }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};
