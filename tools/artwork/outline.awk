# Writes the window outline as an ASCII graymap (255 inside, 0 outside), 800 x 600.
#
# The outline is a main body inset by a margin on the left, top and bottom, with round
# corners, and a tower on the right (the banner and the side panel) that reaches the full
# height. Its corners are quarter circles. The count of outside pixels is fixed at
# `outside`: the few pixels the circles miss or overshoot are taken from or given to the
# body's two left corners, one pixel per row, spread along the curve where nobody sees it.

# Pixels cut from the edge in row k (0 = outermost row) of a corner of radius r.
function cut(r, k,    x, dy) {
    if (k >= r) return 0
    dy = r - k - 0.5
    for (x = 0; x < r; x++)
        if ((r - x - 0.5) ^ 2 + dy ^ 2 <= r * r) return x
    return r
}

BEGIN {
    width = 800; height = 600
    margin = 10        # inset of the main body
    towerLeft = 380    # the tower rises from here to the top edge
    panelLeft = 595    # the side panel reaches the bottom edge from here
    bodyRadius = 33; towerRadius = 18; stepRadius = 10

    total = 0
    for (y = 0; y < height; y++) {
        if (y < margin) {
            left[y] = towerLeft + cut(stepRadius, y); corner[y] = 0
        } else if (y > height - 1 - margin) {
            left[y] = panelLeft + cut(stepRadius, height - 1 - y); corner[y] = 0
        } else {
            top = cut(bodyRadius, y - margin); bottom = cut(bodyRadius, height - 1 - margin - y)
            left[y] = margin + top + bottom
            corner[y] = (top + bottom > 1)
        }
        right[y] = width - 1 - cut(towerRadius, y) - cut(towerRadius, height - 1 - y)
        total += width - (right[y] - left[y] + 1)
    }

    # Spread the difference over the curved rows of the body's corners, evenly.
    delta = outside - total
    n = 0
    for (y = 0; y < height; y++) if (corner[y]) rows[n++] = y
    step = (delta > 0 ? delta : -delta)
    if (step > n) { print "outline: cannot reach " outside " (" total ")" > "/dev/stderr"; exit 1 }
    for (i = 0; i < step; i++) {
        y = rows[int((i + 0.5) * n / step)]
        left[y] += (delta > 0 ? 1 : -1)
    }

    print "P2"; print width, height; print 255
    for (y = 0; y < height; y++) {
        line = ""
        for (x = 0; x < width; x++) line = line (x >= left[y] && x <= right[y] ? "255 " : "0 ")
        print line
    }
}
