#!/usr/bin/env python3
"""Include circles: the quoted-include graph of the source folders, a .h/.cpp pair as one node."""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)
SOURCE_ENDINGS = (".h", ".hpp", ".c", ".cc", ".cpp")
FOLDERS = ("src", "tools", "board", "roduru")


def node_of(path):
    """A header and its source are one node: the path without its ending."""
    return os.path.splitext(path)[0]


def resolve(root, including, name):
    """The file a quoted include names: beside the includer, then from src/, then the root."""
    for base in (os.path.dirname(including), "src", ""):
        candidate = os.path.normpath(os.path.join(base, name))
        if os.path.isfile(os.path.join(root, candidate)):
            return candidate
    return None


def build_graph(root, folders=FOLDERS):
    graph = {}
    for folder in folders:
        for top, _, files in os.walk(os.path.join(root, folder)):
            for file in files:
                if not file.endswith(SOURCE_ENDINGS):
                    continue
                path = os.path.relpath(os.path.join(top, file), root)
                with open(os.path.join(root, path), encoding="latin-1") as text:
                    names = INCLUDE.findall(text.read())
                edges = graph.setdefault(node_of(path), set())
                for name in names:
                    target = resolve(root, path, name)
                    # Includes of the tests' own helpers or of generated files are no edge.
                    if target is None:
                        continue
                    if node_of(target) != node_of(path):
                        edges.add(node_of(target))
    for edges in list(graph.values()):
        for target in edges:
            graph.setdefault(target, set())
    return graph


def strongly_connected(graph):
    """Tarjan's components, without recursion so that a deep chain cannot overflow."""
    index, low, on_stack, stack, components = {}, {}, set(), [], []
    counter = 0
    for start in sorted(graph):
        if start in index:
            continue
        work = [(start, iter(sorted(graph[start])))]
        index[start] = low[start] = counter
        counter += 1
        stack.append(start)
        on_stack.add(start)
        while work:
            node, children = work[-1]
            advanced = False
            for child in children:
                if child not in index:
                    index[child] = low[child] = counter
                    counter += 1
                    stack.append(child)
                    on_stack.add(child)
                    work.append((child, iter(sorted(graph[child]))))
                    advanced = True
                    break
                if child in on_stack:
                    low[node] = min(low[node], index[child])
            if advanced:
                continue
            work.pop()
            if work:
                parent = work[-1][0]
                low[parent] = min(low[parent], low[node])
            if low[node] == index[node]:
                component = []
                while True:
                    member = stack.pop()
                    on_stack.discard(member)
                    component.append(member)
                    if member == node:
                        break
                if len(component) > 1:
                    components.append(sorted(component))
    return components


def one_cycle(graph, component):
    """A shortest way from the component's first node back to itself, inside the component."""
    members = set(component)
    start = component[0]
    previous = {start: None}
    queue = [start]
    while queue:
        node = queue.pop(0)
        for child in sorted(graph[node]):
            if child == start:
                path = [node]
                while previous[path[-1]] is not None:
                    path.append(previous[path[-1]])
                return list(reversed(path)) + [start]
            if child in members and child not in previous:
                previous[child] = node
                queue.append(child)
    return component


def find_cycles(root, folders=FOLDERS):
    graph = build_graph(root, folders)
    return [(component, one_cycle(graph, component))
            for component in strongly_connected(graph)]


def main(argv):
    root = argv[1] if len(argv) > 1 else "."
    cycles = find_cycles(root)
    for component, cycle in cycles:
        print("include circle of %d files: %s" % (len(component), " -> ".join(cycle)))
        print("  all of them: %s" % " ".join(component))
    if cycles:
        return 1
    print("no include circle in %s" % ", ".join(FOLDERS))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
