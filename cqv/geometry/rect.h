// qvRect<T>: an axis-aligned rectangle given by two corners, the low corner
// (least coordinates) and then the high corner (greatest coordinates).
//
// A plain value used with T = qvVec2: curves report their bounding
// rectangle as one, and plane transforms map one onto the bounding
// rectangle of its image. Nothing checks that the low corner really is the
// lower one; the members say what they assume.
#ifndef CQV_GEOMETRY_RECT_H
#define CQV_GEOMETRY_RECT_H

// An axis-aligned rectangle: the low corner, then the high corner.
template <class T>
class qvRect {
public:
    // Leaves both corners as T's default constructor leaves them
    // (uninitialised for qvVec2).
    qvRect() {}
    // The rectangle with the given low and high corners, taken as given.
    qvRect(const T& low, const T& high) : low_(low), high_(high) {}

    // The low corner (least coordinates).
    const T& Low() const { return low_; }
    T& Low() { return low_; }
    // The high corner (greatest coordinates).
    const T& High() const { return high_; }
    T& High() { return high_; }

    // High corner minus low corner: the width and height.
    T Size() const { return high_ - low_; }
    // 1 when low <= p <= high in every coordinate (the border belongs to
    // the rectangle), else 0.
    int IsInside(const T& p) const { return low_ <= p && p <= high_; }

    // 1 when both corners are exactly equal, else 0; != is the negation.
    int operator==(const qvRect& r) const { return low_ == r.low_ && high_ == r.high_; }
    int operator!=(const qvRect& r) const { return !(*this == r); }

private:
    T low_;
    T high_;
};

#endif  // CQV_GEOMETRY_RECT_H
