#pragma once

// The process-wide objects of a program are built before main in the order
// of these steps and destroyed after it in reverse, whichever library
// defines them: each definition carries its step, e.g.
//   LogsControl GlobalLogsControl QX_STARTUP_STEP(QX_STEP_LOGS_CONTROL);
// Objects of one step are built in the order of their definitions in one
// file; objects without a step come after all of these. Each layer names its
// own steps in its StartupOrder.h, placed among those of the layers below.
//
// The shared constants' step holds the constant texts of every library, so
// it comes first. The steps between it and the messaging locks are the
// layers above's. The messaging locks and socket map come before the trace
// controller so that they outlive its writer thread, which uses them until
// it ends.
#define QX_STEP_SHARED_CONSTANTS 1001
#define QX_STEP_MESSAGING_CONTEXT_LOCK 1004
#define QX_STEP_MESSAGING_SOCKETS_LOCK 1005
#define QX_STEP_MESSAGING_SOCKETS 1006
#define QX_STEP_LOGS_CONTROL 1007

#define QX_STARTUP_STEP(step) __attribute__((init_priority(step)))
