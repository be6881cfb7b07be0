"""Reads drawings with ezdxf (Debian's python3-ezdxf), an independent DXF
reader, and prints the number of errors its audit finds in each.

Arguments: pairs of paths (input drawing, converted drawing). One line per
pair: "<converted path> <input errors> <converted errors>", where a drawing
ezdxf cannot read counts as "unreadable".
"""
import sys

import ezdxf


def audit_errors(path):
    try:
        doc = ezdxf.readfile(path)
    except Exception:  # any failure to read is what the test reports
        return "unreadable"
    return str(len(doc.audit().errors))


def main(paths):
    for i in range(0, len(paths) - 1, 2):
        print(paths[i + 1], audit_errors(paths[i]), audit_errors(paths[i + 1]))


if __name__ == "__main__":
    main(sys.argv[1:])
