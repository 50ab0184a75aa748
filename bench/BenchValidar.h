#pragma once
#include <QStringList>

// tobri-bench validate: the picker's OK and the run's OK without windows.
// Returns the exit status (0 completed, 1 refused or stopped, 2 wrong usage).
int benchValidar(const QStringList& args);
