// UART core of the uart_core IP. Parameters and ports follow the component file; the
// generated wrapper instantiates this module.
//
// Frames are a start bit, DATA_BITS data bits (least significant first), an optional
// parity bit and STOP_BITS stop bits, each CLK_FREQ_HZ / BAUD_RATE clocks long.
module uart_core_core #(
    parameter integer CLK_FREQ_HZ = 100000000,
    parameter integer BAUD_RATE = 115200,
    parameter integer DATA_BITS = 8,
    // "none", "even" or "odd"
    parameter PARITY = "none",
    parameter integer STOP_BITS = 1
) (
    input  wire                 clk,
    input  wire                 rst,
    // a word is taken when tx_valid and tx_ready are both high on a clock edge
    input  wire [DATA_BITS-1:0] tx_data,
    input  wire                 tx_valid,
    output wire                 tx_ready,
    // rx_valid is high for one clock per frame received; rx_error with it when the
    // parity or a stop bit was wrong
    output reg  [DATA_BITS-1:0] rx_data,
    output reg                  rx_valid,
    output reg                  rx_error,
    output wire                 txd,
    input  wire                 rxd
);
    // Clocks per bit, rounded to the nearest.
    localparam integer DIVISOR  = (CLK_FREQ_HZ + BAUD_RATE / 2) / BAUD_RATE;
    localparam integer PAR_BITS = (PARITY == "none") ? 0 : 1;
    localparam integer TX_BITS  = 1 + DATA_BITS + PAR_BITS + STOP_BITS;
    localparam integer RX_BITS  = DATA_BITS + PAR_BITS + STOP_BITS;
    localparam integer CW       = $clog2(DIVISOR + 1);

    function parity_of(input [DATA_BITS-1:0] d);
        parity_of = (PARITY == "odd") ? ~^d : ^d;
    endfunction

    // Transmitter: the whole frame in a shift register, sent from bit 0.
    reg [TX_BITS-1:0] tx_shift = {TX_BITS{1'b1}};
    reg [4:0]         tx_left  = 0;
    reg [CW-1:0]      tx_count = 0;

    assign tx_ready = tx_left == 0;
    assign txd      = tx_shift[0];

    wire [TX_BITS-1:0] frame;
    generate
        if (PAR_BITS != 0) begin : g_par
            assign frame = {{STOP_BITS{1'b1}}, parity_of(tx_data), tx_data, 1'b0};
        end else begin : g_nopar
            assign frame = {{STOP_BITS{1'b1}}, tx_data, 1'b0};
        end
    endgenerate

    always @(posedge clk) begin
        if (rst) begin
            tx_shift <= {TX_BITS{1'b1}};
            tx_left  <= 0;
            tx_count <= 0;
        end else if (tx_left == 0) begin
            if (tx_valid) begin
                tx_shift <= frame;
                tx_left  <= TX_BITS;
                tx_count <= DIVISOR - 1;
            end
        end else if (tx_count != 0) begin
            tx_count <= tx_count - 1'b1;
        end else begin
            tx_shift <= {1'b1, tx_shift[TX_BITS-1:1]};
            tx_left  <= tx_left - 1'b1;
            tx_count <= DIVISOR - 1;
        end
    end

    // Receiver: rxd passes two flip-flops (it comes from another clock domain); a
    // falling edge starts a frame, and each bit is sampled in its middle.
    reg [1:0]         rx_sync  = 2'b11;
    reg               rx_busy  = 1'b0;
    reg               rx_start = 1'b0;
    reg [4:0]         rx_left  = 0;
    reg [CW-1:0]      rx_count = 0;
    reg [RX_BITS-1:0] rx_shift = 0;
    wire              rx_in    = rx_sync[1];

    initial begin
        rx_data  = 0;
        rx_valid = 1'b0;
        rx_error = 1'b0;
    end

    wire [RX_BITS-1:0] got     = {rx_in, rx_shift[RX_BITS-1:1]};
    wire [DATA_BITS-1:0] got_d = got[DATA_BITS-1:0];
    wire stops_ok  = &got[RX_BITS-1 -: STOP_BITS];
    wire parity_ok = (PAR_BITS == 0) || (got[DATA_BITS] == parity_of(got_d));

    always @(posedge clk) begin
        rx_sync  <= {rx_sync[0], rxd};
        rx_valid <= 1'b0;
        rx_error <= 1'b0;
        if (rst) begin
            rx_sync <= 2'b11;
            rx_busy <= 1'b0;
        end else if (!rx_busy) begin
            if (!rx_in) begin
                rx_busy  <= 1'b1;
                rx_start <= 1'b1;
                rx_count <= DIVISOR / 2;
            end
        end else if (rx_count != 0) begin
            rx_count <= rx_count - 1'b1;
        end else if (rx_start) begin
            // A start bit gone by its middle was a glitch.
            rx_start <= 1'b0;
            rx_busy  <= !rx_in;
            rx_left  <= RX_BITS;
            rx_count <= DIVISOR - 1;
        end else begin
            rx_shift <= got;
            rx_left  <= rx_left - 1'b1;
            rx_count <= DIVISOR - 1;
            if (rx_left == 1) begin
                rx_busy  <= 1'b0;
                rx_data  <= got_d;
                rx_valid <= 1'b1;
                rx_error <= !(stops_ok && parity_ok);
            end
        end
    end
endmodule
