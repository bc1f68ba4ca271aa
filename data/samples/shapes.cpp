// shapes: areas of a few shapes read as "circle 2" or "rect 3 4" lines, largest first.
#include <algorithm>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

class Shape {
public:
    virtual ~Shape() = default;
    virtual double Area() const = 0;
    virtual std::string Name() const = 0;
};

class Circle final : public Shape {
public:
    explicit Circle(double r) : r_(r) {}
    double Area() const override { return 3.141592653589793 * r_ * r_; }
    std::string Name() const override { return "circle"; }

private:
    double r_;
};

class Rect final : public Shape {
public:
    Rect(double w, double h) : w_(w), h_(h) {}
    double Area() const override { return w_ * h_; }
    std::string Name() const override { return "rect"; }

private:
    double w_, h_;
};

/* Reads one shape; nullptr for a line that names none. */
std::unique_ptr<Shape> Parse(const std::string& line) {
    std::istringstream in(line);
    std::string kind;
    double a = 0, b = 0;
    if (!(in >> kind >> a)) {
        return nullptr;
    }
    if (kind == "circle") {
        return std::make_unique<Circle>(a);
    }
    if (kind == "rect" && in >> b) {
        return std::make_unique<Rect>(a, b);
    }
    return nullptr;
}

}  // namespace

int main() {
    std::vector<std::unique_ptr<Shape>> shapes;
    for (std::string line; std::getline(std::cin, line);) {
        if (auto shape = Parse(line)) {
            shapes.push_back(std::move(shape));
        }
    }
    std::sort(shapes.begin(), shapes.end(),
              [](const auto& x, const auto& y) { return x->Area() > y->Area(); });
    for (const auto& s : shapes) {
        std::cout << s->Name() << '\t' << s->Area() << '\n';
    }
    return 0;
}
