#include "ui/status/LogDecodeWorker.h"

#include <QThread>

#include <algorithm>

LogDecodeWorker::~LogDecodeWorker()
{
    for (QThread* thread : m_threads) {
        thread->wait();
        delete thread;
    }
}

void LogDecodeWorker::Start(const QString& path, const CivilDate& date)
{
    const unsigned generation = ++m_generation;
    auto result = std::make_shared<LogFileRead>();
    QThread* thread = QThread::create([result, path, date] { *result = ReadLogFile(path, date); });
    m_threads.push_back(thread);
    connect(thread, &QThread::finished, this, [this, thread, result, date, generation] {
        m_threads.erase(std::remove(m_threads.begin(), m_threads.end(), thread), m_threads.end());
        thread->deleteLater();
        if (generation == m_generation)
            emit decoded(*result, date);
    });
    thread->start();
}
