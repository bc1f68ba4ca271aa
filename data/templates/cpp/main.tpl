#include <iostream>

int main(int argc, char* argv[]) {
    %cursor%
    return 0;
}
