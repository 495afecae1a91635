#include "core/app/Application.h"

int main(int argc, char** argv)
{
    return TessavarMain(argc, argv);
}
