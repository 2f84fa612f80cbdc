// SPDX-License-Identifier: BSD-2-Clause
// Found first by the libraries that need QtCore alone (qvx_core_only):
// every QtWidgets header includes this one.
#error "this library needs QtCore alone: it must not include a QtWidgets header"
