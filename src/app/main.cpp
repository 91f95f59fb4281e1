#include <cstdio>

int main()
{
    std::puts("Jorvo");
    return 0;
}
