package com.example.stock;

import java.util.ArrayList;
import java.util.List;
import java.util.Map;
import java.util.TreeMap;

/**
 * A small stock list: items with their quantities, and the ones that
 * must be reordered.
 */
public class Inventory {
    private final Map<String, Integer> stock = new TreeMap<>();
    private final int reorderLevel;

    public Inventory(int reorderLevel) {
        if (reorderLevel < 0) {
            throw new IllegalArgumentException("reorder level must not be negative");
        }
        this.reorderLevel = reorderLevel;
    }

    /** Adds (or, with a negative quantity, takes) stock of an item. */
    public void add(String item, int quantity) {
        stock.merge(item, quantity, Integer::sum);
    }

    public List<String> toReorder() {
        List<String> low = new ArrayList<>();
        for (Map.Entry<String, Integer> e : stock.entrySet()) {
            if (e.getValue() <= reorderLevel) {
                low.add(e.getKey());
            }
        }
        return low;
    }

    @Override
    public String toString() {
        return "Inventory" + stock + " (reorder at " + reorderLevel + ')';
    }

    public static void main(String[] args) {
        Inventory inv = new Inventory(5);
        inv.add("bolts", 120);
        inv.add("nuts", 4);
        inv.add("washers", 10);
        inv.add("washers", -7);  // used in assembly
        System.out.println(inv);
        System.out.println("reorder: " + inv.toReorder());
    }
}
