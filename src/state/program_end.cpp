// Ending the program at once with exit code 0.
#include "state/program_end.h"

void CProgramEnd::EndProgram()
{
    programEnded = true;
    processes.ExitProcess(0);
}
