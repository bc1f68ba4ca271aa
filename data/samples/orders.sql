-- orders: the tables of a small order book and the monthly sales report.
CREATE TABLE customer (
    id          INTEGER PRIMARY KEY,
    name        VARCHAR(60) NOT NULL,
    city        VARCHAR(40),
    created_at  TIMESTAMP DEFAULT CURRENT_TIMESTAMP
);

CREATE TABLE orders (
    id           INTEGER PRIMARY KEY,
    customer_id  INTEGER NOT NULL REFERENCES customer (id),
    ordered_on   DATE NOT NULL,
    amount       DECIMAL(10, 2) NOT NULL CHECK (amount >= 0),
    status       CHAR(1) DEFAULT 'O'   /* O open, S shipped, C cancelled */
);

CREATE INDEX orders_by_customer ON orders (customer_id, ordered_on);

INSERT INTO customer (id, name, city) VALUES (1, 'Harbour Supplies', 'Leith');
INSERT INTO customer (id, name, city) VALUES (2, 'O''Brien & Sons', 'Cork');
INSERT INTO orders (id, customer_id, ordered_on, amount, status)
VALUES (10, 1, DATE '2024-03-02', 250.00, 'S'),
       (11, 2, DATE '2024-03-09', 99.50, 'O');

/* Sales per customer and month, cancelled orders left out. */
SELECT c.name,
       EXTRACT(YEAR FROM o.ordered_on)  AS yr,
       EXTRACT(MONTH FROM o.ordered_on) AS mon,
       COUNT(*)                         AS orders,
       SUM(o.amount)                    AS total
  FROM orders o
  JOIN customer c ON c.id = o.customer_id
 WHERE o.status <> 'C'
 GROUP BY c.name, yr, mon
HAVING SUM(o.amount) > 0
 ORDER BY yr, mon, total DESC;
