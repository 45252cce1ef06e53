#pragma once
// The few facts about the terminal and the process that tessaphon-render
// needs: whether stderr is a terminal and how wide, and whether the user asked
// to stop (Ctrl+C, a termination signal).

namespace render {

bool StderrIsTerminal();
int StderrColumns(); // 80 when unknown

// Turns SIGINT, SIGTERM, SIGHUP and the other signals that would end the
// process into a flag that InterruptRequested reads, so a render can stop
// cleanly and remove its unfinished output; ignores SIGXFSZ, so that a write
// beyond the file-size limit fails like any other.
void CatchInterrupts();
bool InterruptRequested();

// Audio written to standard output (-o -): whether that is a terminal, its
// descriptor, and a reader that closes the pipe making writes fail (so the
// render ends with an error) instead of stopping the process.
bool StdoutIsTerminal();
int StdoutDescriptor();
void IgnoreBrokenPipe();

} // namespace render
