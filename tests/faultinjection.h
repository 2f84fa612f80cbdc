// SPDX-License-Identifier: BSD-2-Clause
#ifndef FAULTINJECTION_H
#define FAULTINJECTION_H

#include <QtGlobal>

/*
 * Whether the cases that make calls fail through libfiu must run.  They
 * must where the build found libfiu (ctest then runs the test under
 * fiu-run and says so in QVX_FIU_REQUIRED), and in CI on a system for
 * which libfiu is packaged, where scripts/setup installs it.  FreeBSD has
 * no libfiu package: there, as outside CI, the cases are skipped.
 */
inline bool fault_injection_required()
{
    if (qEnvironmentVariableIsSet("QVX_FIU_REQUIRED"))
        return true;
#ifdef __FreeBSD__
    return false;
#else
    return !qEnvironmentVariableIsEmpty("CI");
#endif
}

#endif // FAULTINJECTION_H
