#include <cstdio>

int main()
{
    std::fprintf(stderr, "kormax-calc: not built yet\n");
    return 2;
}
