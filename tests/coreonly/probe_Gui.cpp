// SPDX-License-Identifier: BSD-2-Clause
// Must not compile where only QtCore is allowed.
#include <QtGui/QGuiApplication>
