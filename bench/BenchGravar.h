#pragma once
#include <QStringList>

// tobri-bench gravar: the recording precondition and Gravar without windows.
int benchGravar(const QStringList& args);
