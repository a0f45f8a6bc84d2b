// Feeds the class-file reader valid files changed at random, with a fixed
// seed: flipped bits, bytes overwritten, header fields, cuts, pages spliced
// in from elsewhere. Every one must come back as a class that keeps the
// format's rules or as a problem; a crash, a sanitizer's report or a hang
// fails the test. KVT_FUZZ_COUNT: how many files (default 5,000).

#include "classfile/classfile.h"
#include "classsample.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <random>

namespace {

constexpr int kPageSize = 4096;

// A class read from bytes must keep what the reader promises.
bool keepsTheRules(const ClassData &data)
{
    for (std::size_t i = 1; i < data.roster.size(); ++i)
        if (data.roster[i].id <= data.roster[i - 1].id)
            return false;
    for (std::size_t i = 0; i < data.papers.size(); ++i) {
        const Paper &paper = data.papers[i];
        if (i > 0 && paper.id <= data.papers[i - 1].id)
            return false;
        if (paper.pupil != kNoPupil && std::none_of(data.roster.cbegin(), data.roster.cend(), [&](const Pupil &p) {
                return p.id == paper.pupil;
            }))
            return false;
        if (!paper.added.isValid() || !paper.changed.isValid())
            return false;
    }
    return data.heading.term == 1 || data.heading.term == 2;
}

class Mutator final
{
public:
    explicit Mutator(std::vector<QByteArray> images)
        : m_images(std::move(images))
    {
    }

    QByteArray next()
    {
        QByteArray bytes = m_images[pick(m_images.size())];
        const int changes = 1 + int(pick(4));
        for (int i = 0; i < changes; ++i)
            mutate(bytes);
        return bytes;
    }

private:
    std::size_t pick(std::size_t count) { return std::uniform_int_distribution<std::size_t>(0, count - 1)(m_random); }

    void mutate(QByteArray &bytes)
    {
        if (bytes.isEmpty())
            return;
        const auto at = [&] { return qsizetype(pick(std::size_t(bytes.size()))); };
        switch (pick(7)) {
        case 0: // a bit
            bytes[at()] ^= char(1 << pick(8));
            break;
        case 1: // a byte
            bytes[at()] = char(pick(256));
            break;
        case 2: // the header and the first page's b-tree header
            bytes[qsizetype(pick(std::min<std::size_t>(112, std::size_t(bytes.size()))))]
                = char(std::array<int, 6> {0, 1, 2, 0x7F, 0x80, 0xFF}[pick(6)]);
            break;
        case 3: // cut
            bytes.truncate(at());
            break;
        case 4: { // a page of another file over one of this
            const QByteArray &other = m_images[pick(m_images.size())];
            const qsizetype from = qsizetype(pick(std::size_t(other.size() / kPageSize))) * kPageSize;
            const qsizetype to
                = qsizetype(pick(std::size_t(std::max<qsizetype>(1, bytes.size() / kPageSize)))) * kPageSize;
            if (to + kPageSize <= bytes.size())
                bytes.replace(to, kPageSize, other.mid(from, kPageSize));
            break;
        }
        case 5: // a page more, or one fewer
            if (pick(2) == 0)
                bytes.append(
                    bytes.mid(qsizetype(pick(std::size_t(bytes.size() / kPageSize + 1))) * kPageSize, kPageSize));
            else
                bytes.chop(std::min<qsizetype>(kPageSize, bytes.size()));
            break;
        default: // a run of bytes inside a page's cells
            for (qsizetype i = at(), end = std::min(bytes.size(), i + qsizetype(pick(64))); i < end; ++i)
                bytes[i] = char(pick(256));
            break;
        }
    }

    std::vector<QByteArray> m_images;
    std::mt19937 m_random {20261210};
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    bool given = false;
    const int count = qEnvironmentVariableIntValue("KVT_FUZZ_COUNT", &given);
    const int files = given ? count : 5000;

    std::vector<QByteArray> images;
    for (const ClassData &data : {ClassData(), ClassSample::whole(), ClassSample::whole(15)}) {
        images.push_back(classImage(data));
        const ClassRead read = readClassImage(images.back());
        if (!std::holds_alternative<ClassData>(read) || !(std::get<ClassData>(read) == data)) {
            std::fprintf(stderr, "a valid file does not read back\n");
            return 1;
        }
    }

    Mutator mutator(images);
    int classes = 0;
    int problems[3] = {};
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < files; ++i) {
        const ClassRead read = readClassImage(mutator.next());
        if (const auto *failure = std::get_if<ReadFailure>(&read)) {
            ++problems[int(failure->problem)];
            continue;
        }
        ++classes;
        if (!keepsTheRules(std::get<ClassData>(read))) {
            std::fprintf(stderr, "file %d read as a class that breaks the format's rules\n", i);
            return 1;
        }
    }
    std::printf("%d files in %lld ms: %d classes, %d not class files, %d damaged, %d too new\n", files,
        static_cast<long long>(timer.elapsed()), classes, problems[0], problems[1], problems[2]);
    return 0;
}
