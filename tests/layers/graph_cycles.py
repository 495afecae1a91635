#!/usr/bin/env python3
"""Reads the build graph that `cmake --graphviz=FILE` wrote and fails when its targets
link round in a cycle; prints each cycle found. Usage: graph_cycles.py FILE"""
import re
import sys


def read_graph(path):
    names = {}
    edges = {}
    node = re.compile(r'^\s*"(node\d+)" \[ label = "([^"]*)"')
    edge = re.compile(r'^\s*"(node\d+)" -> "(node\d+)"')
    with open(path, encoding="utf-8") as dot:
        for line in dot:
            found = node.match(line)
            if found:
                names[found.group(1)] = found.group(2)
                continue
            found = edge.match(line)
            if found:
                edges.setdefault(found.group(1), []).append(found.group(2))
    return names, edges


def find_cycles(edges):
    cycles = []
    state = {}  # 1 on the current path, 2 done
    path = []

    def visit(start):
        # Iterative depth-first walk: (node, index of the next edge to follow).
        stack = [(start, 0)]
        state[start] = 1
        path.append(start)
        while stack:
            current, index = stack[-1]
            targets = edges.get(current, [])
            if index == len(targets):
                stack.pop()
                path.pop()
                state[current] = 2
                continue
            stack[-1] = (current, index + 1)
            target = targets[index]
            if state.get(target) == 1:
                cycles.append(path[path.index(target):] + [target])
            elif target not in state:
                state[target] = 1
                path.append(target)
                stack.append((target, 0))

    for start in sorted(edges):
        if start not in state:
            visit(start)
    return cycles


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    names, edges = read_graph(sys.argv[1])
    if not edges:
        print("no links found in " + sys.argv[1])
        return 1
    cycles = find_cycles(edges)
    for cycle in cycles:
        print("cycle: " + " -> ".join(names.get(n, n) for n in cycle))
    if cycles:
        return 1
    print("%d targets, %d links, no cycle" % (len(names), sum(len(t) for t in edges.values())))
    return 0


if __name__ == "__main__":
    sys.exit(main())
