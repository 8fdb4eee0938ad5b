#pragma once

#include <QProcess>

#include <memory>

// A peer process that ends with the test: asked to end (so that a server takes its workers
// along), then given five seconds.
struct TerminateProcess {
    void operator()(QProcess* process) const {
        process->terminate();
        process->waitForFinished(5000);
        delete process;
    }
};
using TerminatedProcess = std::unique_ptr<QProcess, TerminateProcess>;
