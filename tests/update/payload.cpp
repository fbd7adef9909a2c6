// Stands in for a downloaded new program: records how it was started, in
// "liveupdate-ran.txt" beside itself, and ends.
#include <fstream>
#include <string>

int main(int argc, char *argv[])
{
    const std::string self = argv[0];
    std::ofstream record(self.substr(0, self.rfind('/') + 1) + "liveupdate-ran.txt", std::ios::app);
    for (int i = 1; i < argc; ++i)
        record << (i > 1 ? " " : "") << argv[i];
    record << '\n';
    return 0;
}
