// Writes the fuzz targets' seed corpus: make_seeds <fuzz folder> fills
// <fuzz folder>/corpus/<target>/ with the records of a few small objects of
// each family (led by the byte that picks the element type, as the targets
// read them) and a few texts for the lexer.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <cqv/cqv.h>

namespace {

std::string g_root;

void Write(const std::string& target, const std::string& name, const std::vector<unsigned char>& bytes) {
    const std::string folder = g_root + "/corpus/" + target;
    std::filesystem::create_directories(folder);
    const std::string path = folder + "/" + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) {
        std::perror(path.c_str());
        std::exit(1);
    }
    std::fclose(f);
}

// The selector byte, then x's record.
template <class T>
void Record(const std::string& target, int selector, const std::string& name, const T& x) {
    std::vector<unsigned char> bytes(1 + static_cast<std::size_t>(x.MemSize()));
    bytes[0] = static_cast<unsigned char>(selector);
    x.ToMem(bytes.data() + 1);
    Write(target, name, bytes);
}

template <class T>
T Value(int i);
template <>
qvComplex Value<qvComplex>(int i) { return qvComplex(i, -0.5 * i); }
template <>
qvVec2 Value<qvVec2>(int i) { return qvVec2(i, 2.0 * i); }
template <>
qvTVec3<double> Value<qvTVec3<double>>(int i) { return qvTVec3<double>(i, -i, 0.25 * i); }
template <class T>
T Value(int i) { return static_cast<T>(i * 3 + 1); }

int g_selector = 0;

#define CQV_SEED_ARRAY(Elem)                                                            \
    {                                                                                \
        qvArray<Elem> a(3);                                                             \
        for (int i = 0; i < 3; ++i) a[i] = Value<Elem>(i);                              \
        Record("arrays_fuzz", g_selector, std::to_string(g_selector) + "-three", a); \
        Record("arrays_fuzz", g_selector, std::to_string(g_selector) + "-empty", qvArray<Elem>()); \
        ++g_selector;                                                                \
    }

#define CQV_SEED_VECTORS(Elem)                                                                 \
    {                                                                                       \
        qvColumnVector<Elem> c(4);                                                             \
        for (int i = 0; i < 4; ++i) c[i] = Value<Elem>(i);                                     \
        Record("vectors_fuzz", g_selector, std::to_string(g_selector) + "-column", c);      \
        Record("vectors_fuzz", g_selector + 1, std::to_string(g_selector + 1) + "-line", c.T()); \
        qvMatrix<Elem> m(2, 3);                                                                \
        for (int i = 0; i < 2; ++i)                                                         \
            for (int j = 0; j < 3; ++j) m(i, j) = Value<Elem>(3 * i + j);                      \
        Record("matrices_fuzz", g_selector / 2, std::to_string(g_selector / 2) + "-2x3", m); \
        g_selector += 2;                                                                    \
    }

#define CQV_SEED_ARRAYND(Elem)                                                               \
    {                                                                                     \
        qvArray<int> range(3);                                                            \
        range[0] = 2;                                                                     \
        range[1] = 3;                                                                     \
        range[2] = 1;                                                                     \
        qvArrayND<Elem> g(range);                                                            \
        int k = 0;                                                                        \
        for (Elem& e : g) e = Value<Elem>(k++);                                                 \
        Record("ndarray_fuzz", g_selector, std::to_string(g_selector) + "-2x3x1", g);     \
        ++g_selector;                                                                     \
    }

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds <fuzz folder>\n");
        return 2;
    }
    g_root = argv[1];

    g_selector = 0;
    CQV_FOR_EACH_ARRAY_TYPE(CQV_SEED_ARRAY)
    g_selector = 0;
    CQV_FOR_EACH_LINALG_TYPE(CQV_SEED_VECTORS)
    g_selector = 0;
    CQV_FOR_EACH_ARRAYND_TYPE(CQV_SEED_ARRAYND)

    {
        const qvString s("lorem \"ipsum\" 12.5e3");
        std::vector<unsigned char> bytes(static_cast<std::size_t>(s.MemSize()));
        s.ToMem(bytes.data());
        Write("string_fuzz", "text", bytes);
    }
    {
        qvMatrix3Diag<double> t(4);
        t.Fill(1.0);
        Record("tridiagonal_fuzz", 0, "four", t);
    }
    {
        qvTransformCoord2D t2;
        t2.AddTurn(0.5);
        t2.AddShift(qvVec2(1, 2));
        Record("transforms_fuzz", 0, "plane", t2);
        qvTransformCoord3D t3;
        t3.AddTurn(0.1, 0.2, 0.3);
        Record("transforms_fuzz", 1, "space", t3);
    }
    {
        qvSimpleContour2D c(4);
        for (int i = 0; i < 4; ++i) c[i] = qvVec2(i % 2, i / 2);
        Record("contours_fuzz", 0, "curve", static_cast<const qvCurve2D&>(c));
        Record("contours_fuzz", 1, "contour", c);
    }
    const char* texts[] = {"alpha_1 = 12 + 3.5e-2 * beta;", "\"quoted, text\" x 1.e5 .5 7e", "a,b;;c\td\n"};
    for (int i = 0; i < 3; ++i) {
        const std::string t = texts[i];
        Write("lexer_fuzz", "text" + std::to_string(i), std::vector<unsigned char>(t.begin(), t.end()));
    }
    return 0;
}
