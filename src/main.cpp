#include <cstdlib>

#include "run.h"

int main()
{
    std::exit(run());
}
