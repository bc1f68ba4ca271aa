#include <stdio.h>
#include <stdlib.h>

int main(int argc, char *argv[])
{
    %cursor%
    return EXIT_SUCCESS;
}
