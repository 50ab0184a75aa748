#pragma once
// A helper that checks with QVERIFY/QCOMPARE only leaves itself when a check
// fails; CONFERE(helper(...)) then leaves the calling test (or helper) too.
#include <QTest>

#define CONFERE(...)                                                                                                   \
    do {                                                                                                               \
        __VA_ARGS__;                                                                                                   \
        if (QTest::currentTestFailed())                                                                                \
            return;                                                                                                    \
    } while (false)
