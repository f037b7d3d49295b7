#pragma once

// moc cannot parse the <compare> these bring in.
#ifndef Q_MOC_RUN
#include "core/dvr/CivilDate.h"
#include "ui/status/LogFileReader.h"
#endif

#include <QObject>

#include <memory>
#include <vector>

class QThread;

// Decodes a downloaded log on a thread of its own. The entries reach the
// window only when the thread has finished, so nothing reads them while they
// grow; a decode started later supersedes one still running.
class LogDecodeWorker : public QObject {
    Q_OBJECT
public:
    explicit LogDecodeWorker(QObject* parent = nullptr) : QObject(parent) {}
    ~LogDecodeWorker() override;

    void Start(const QString& path, const CivilDate& date);
    bool Running() const { return !m_threads.empty(); }

signals:
    void decoded(const LogFileRead& read, const CivilDate& date);

private:
    std::vector<QThread*> m_threads;
    unsigned m_generation = 0;
};
