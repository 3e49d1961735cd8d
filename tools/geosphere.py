#!/usr/bin/env python3
"""Writes the geodesic sphere model text (assets/models/MemoGeoSphere.txt).

An icosahedron with each face split in four: 42 vertices, 80 triangles, radius
23 around (0.25, 0, 0), one normal per vertex pointing outwards, triangles wound
counter-clockwise seen from outside. Deterministic: run it again and the text is
the same. Usage: python3 tools/geosphere.py [OUT]
"""
import math
import sys

RADIUS = 23.0
CENTRE = (0.25, 0.0, 0.0)


def unit(v):
    length = math.sqrt(sum(c * c for c in v))
    return tuple(c / length for c in v)


def icosahedron():
    phi = (1 + math.sqrt(5)) / 2
    points = [(-1, phi, 0), (1, phi, 0), (-1, -phi, 0), (1, -phi, 0),
              (0, -1, phi), (0, 1, phi), (0, -1, -phi), (0, 1, -phi),
              (phi, 0, -1), (phi, 0, 1), (-phi, 0, -1), (-phi, 0, 1)]
    faces = [(0, 11, 5), (0, 5, 1), (0, 1, 7), (0, 7, 10), (0, 10, 11),
             (1, 5, 9), (5, 11, 4), (11, 10, 2), (10, 7, 6), (7, 1, 8),
             (3, 9, 4), (3, 4, 2), (3, 2, 6), (3, 6, 8), (3, 8, 9),
             (4, 9, 5), (2, 4, 11), (6, 2, 10), (8, 6, 7), (9, 8, 1)]
    return [unit(p) for p in points], faces


def split_in_four(points, faces):
    points = list(points)
    middles = {}

    def middle(a, b):
        key = (min(a, b), max(a, b))
        if key not in middles:
            pa, pb = points[a], points[b]
            points.append(unit(tuple((x + y) / 2 for x, y in zip(pa, pb))))
            middles[key] = len(points) - 1
        return middles[key]

    out = []
    for a, b, c in faces:
        ab, bc, ca = middle(a, b), middle(b, c), middle(c, a)
        out += [(a, ab, ca), (b, bc, ab), (c, ca, bc), (ab, bc, ca)]
    return points, out


def outward(points, face):
    """The face wound counter-clockwise seen from outside the sphere."""
    a, b, c = (points[i] for i in face)
    u = [b[i] - a[i] for i in range(3)]
    v = [c[i] - a[i] for i in range(3)]
    n = (u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0])
    centroid = [(a[i] + b[i] + c[i]) / 3 for i in range(3)]
    if sum(n[i] * centroid[i] for i in range(3)) < 0:
        return (face[0], face[2], face[1])
    return face


def f(x):
    text = "%.6f" % x
    return "0.000000" if text == "-0.000000" else text


def model_text():
    points, faces = split_in_four(*icosahedron())
    faces = [outward(points, face) for face in faces]
    assert len(points) == 42 and len(faces) == 80
    lines = ["// MilkShape 3D ASCII", "", "Frames: 30", "Frame: 1", "", "Meshes: 1",
             '"GeoSphere05" 0 0', str(len(points))]
    for p in points:
        x, y, z = (CENTRE[i] + RADIUS * p[i] for i in range(3))
        u = 0.5 + math.atan2(p[2], p[0]) / (2 * math.pi)
        v = 0.5 - math.asin(max(-1.0, min(1.0, p[1]))) / math.pi
        lines.append("0 %s %s %s %s %s -1" % (f(x), f(y), f(z), f(u), f(v)))
    lines.append(str(len(points)))
    for p in points:
        lines.append("%s %s %s" % (f(p[0]), f(p[1]), f(p[2])))
    lines.append(str(len(faces)))
    for a, b, c in faces:
        lines.append("0 %d %d %d %d %d %d 1" % (a, b, c, a, b, c))
    lines += ["", "Materials: 1", '"Material01"',
              "0.200000 0.200000 0.200000 1.000000",
              "0.800000 0.800000 0.800000 1.000000",
              "0.000000 0.000000 0.000000 1.000000",
              "0.000000 0.000000 0.000000 1.000000",
              "0.000000", "1.000000", '""', '""', "",
              "Bones: 0", "GroupComments: 0", "MaterialComments: 0", "BoneComments: 0",
              "ModelComment: 0"]
    return "\n".join(lines) + "\n"


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else "assets/models/MemoGeoSphere.txt"
    with open(out, "w", newline="\n") as handle:
        handle.write(model_text())
