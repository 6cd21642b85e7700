#include "HBinaryTreeNode.h"

// Everything of the node is inline; this unit keeps one file per class.
