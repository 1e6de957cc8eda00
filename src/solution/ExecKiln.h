// The deterministic workers: every deterministic subordinated chain is
// analysed over its delay by a kiln_da process, locally or on another host,
// which writes the chain's rows into the numbered chain files.
//
// Workers on other hosts are started through the remote shell, by default
// /usr/ucb/rsh as "rsh <host> -n nice +4 <BinD>/kiln_da <arguments>"; a line
// "REMOTE SHELL <path>" in the per-user file names another one (ssh, say),
// which then runs "nice -n 4" instead, the form today's systems understand.
// The same shell asks each host of the host list for its load average before
// workers are spread; with fewer than two hosts answering, all workers run
// locally.
#pragma once

#include "solution/ExecInfo.h"
#include "solution/KilnInfo.h"

// Runs the workers for `count` planned records; `total` is the sum of their
// efforts. On return every record is finished.
void ExecuteKilnProcesses(kilninfo*& infos, int& count, double& total);

// The steps, in the order ExecuteKilnProcesses takes them.
void ReadEnvironment(execinfo& e, double& threshold);
void EstablishServerSocket(execinfo& e);
void LocalExecution(execinfo& e);
void DistributedExecution(execinfo& e);

// Starts a worker for a record whose host is set.
void StartKilnProcess(kilninfo& record, execinfo& e);
// Sends a connected worker its chain; the record is then running.
void FeedKilnProcess(kilninfo& record, execinfo& e);
// The record whose worker has connected (now "connected"), or null when no
// worker connected within 20 seconds.
kilninfo* WaitForConnection(execinfo& e);

enum ReceiveMode { kUntilOneFinished = 0, kUntilAllFinished = 1 };
// Reads the workers' lines; `finished` counts the workers that have ended.
void ReceiveMessages(ReceiveMode mode, execinfo& e, unsigned& finished);
