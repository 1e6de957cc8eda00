// The general workers: every general subordinated chain is analysed by an
// ekiln process on this host, all at the same time; each writes the chain's
// rows into the numbered chain files after those of the deterministic
// chains. A worker is started as
//   ekiln <local host name> <port> <epsilon> <TmpD>/<netname>
// and reads the stream of EkilnDataStream.h from its connection.
#pragma once

#include "foundation/PtrList.h"
#include "statedata/SMChain.h"

#include <cstdio>

// Runs the workers for the `genCount` chains of `chains`; their chain files
// are numbered after the `detCount` files of the deterministic chains.
void ExecuteEkilnProcesses(int& genCount, int& detCount, PtrList<SMChain>& chains);

// CPU seconds reported by the general workers of the whole run.
extern double ru_sum;

// The steps, in the order ExecuteEkilnProcesses takes them.
void InitConnection(int n);  // a table for n workers
void CreateServer();
void StartKiln(const char* model, const char* host, int index, const char* path);
// The stream of the worker that has connected, or null when none connected
// within 20 seconds.
std::FILE* WaitConnect(int n);
// Reads the workers' lines until every worker has ended.
void MsgReceive(int mode, int n);
void FreeConnect();
